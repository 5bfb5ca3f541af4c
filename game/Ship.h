#pragma once

class TGame;

// The ship's steps of the play frame: steering by the arrow keys, turning to the heading,
// motion stopped by walls and the field's edges, the fade-in, and the position history.
void SteerShip(TGame& game);
void TurnShip(TGame& game);
void MoveShip(TGame& game);
void FadeShip(TGame& game);
void RecordPath(TGame& game);
