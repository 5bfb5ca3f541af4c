#pragma once

class TGame;

// One frame of play (state 1), its fifteen steps in their fixed order.
void PlayFrame(TGame& game);
