"""Picture generator of the game: procedural sources of every stored picture."""
