#pragma once

#include <cstdint>

class TGame;

// Frames of the screens that are not play: the menu over the title (state 0), the help
// picture (3), the options text (4) and the end text (5).
void MenuFrame(TGame& game);
void HelpFrame(TGame& game);
void OptionsFrame(TGame& game);
void EndFrame(TGame& game);

// Menu item 1: a new game from level 1.
void StartNewGame(TGame& game);

// The pointer's position lies in the rectangle, bounds included.
bool PointerInRect(const TGame& game, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
