#pragma once

class TGame;

// Builds the world at the first activation of the form: the fixed colour sequences, the
// seeded generator, every sprite of the scene, level 1 and its orbs.
void BuildWorld(TGame& game);

// Gives the field the tile set of the current level (levels 25 and above keep the one they have).
void ApplyTileSet(TGame& game);

// Looks at cell (CellX, CellY) and, while it is a wall, draws another; gives up after a
// bounded number of draws so that a level without floor cannot hang the game.
void SeekFloorCell(TGame& game);
// Draws cells (column first, then row) until one is not a wall, with the same bound.
void DrawFloorCell(TGame& game);
// Puts the field orbs on floor cells, starting from the cell last drawn.
void PlaceFieldOrbs(TGame& game);
