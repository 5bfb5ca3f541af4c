#pragma once

class TGame;

// The play frame's economy: orbs pulsing and eaten, the scrolling backdrop, the tail, the
// status-bar and score texts, and the exhaustion of energy that ends the game.
void PulseOrbs(TGame& game);
void ScrollBackdrop(TGame& game);
void PickUpOrbs(TGame& game);
void PlaceTail(TGame& game);
// "Очки:" and the score.
void RebuildScoreText(TGame& game);
void WriteStatusTexts(TGame& game);
void ExhaustEnergy(TGame& game);
