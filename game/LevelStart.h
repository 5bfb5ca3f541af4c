#pragma once

class TApplication;
class TGame;

// Puts play at the start of level n, as the game stands once it has arrived at a level: the menu
// scene gone and the status bar in place, the level's field, mines and ship read from its file,
// the ship fading in, the orbs placed on floor cells as a level change places them, and the
// energy, score and orbs of a new game. A damaged level file is reported once all that is done.
void StartAtLevel(TGame& game, int level);

// The level that the command line's --level asks play to start at; 0 to start at the menu.
int StartLevelOf(const TApplication& application);
