#pragma once

class TGame;

// One frame of the change to the next level (state 2): the old field slides up, the next
// level is loaded, the new field slides down, surplus energy turns into score.
void LevelChangeFrame(TGame& game);
