#pragma once

class TGame;

// The mines' step of the play frame: the animation counter, the pictures, the patrol and
// the contact with the ship, each a full pass over the mines in index order.
void MineStep(TGame& game);
