#pragma once

#include "game/Random.h"

#include <array>
#include <cstdint>
#include <string>

class TForm1;
class TImageSprite;
class TImageSpriteEx;
class TBackgroundSprite;
class TPictureCollectionItem;
class TDirectDrawSurfaceCanvas;

// One entry of the ship's position history.
struct TPathEntry {
    int32_t x = 0;
    int32_t y = 0;
};

// The game's world: every variable the rules share and every sprite of the scene, with the
// few services of the form the rules call on. Arrays are indexed from 1, as the rules count;
// entry 0 is unused.
class TGame {
public:
    explicit TGame(TForm1& form) : Form(form) {}

    TForm1& Form;

    // State machine and pointer.
    uint8_t GameState = 0;
    uint8_t MenuChoice = 0;
    bool MouseHeld = false;
    bool SlowFlip = false;

    // Level and play.
    uint8_t Level = 0;
    uint8_t LevelPhase = 0;
    uint8_t OrbsEaten = 0;
    uint8_t OrbCount = 0;
    uint8_t Heading = 0;
    int32_t Score = 0;
    std::string ScoreText;
    int32_t Energy = 0;
    double Speed = 0.0;
    double Fade = 0.0;
    uint8_t AnimTick = 0;
    int32_t CellX = 0;
    int32_t CellY = 0;

    static constexpr int kSegments = 100;
    static constexpr int kMines = 100;
    static constexpr int kPulsingOrbs = 10;
    // Segment 100 follows history entry 505, so the history keeps 505 entries.
    static constexpr int kPathLength = 505;

    std::array<uint8_t, kSegments + 1> SegmentColour{};
    std::array<uint8_t, kPulsingOrbs + 1> OrbPulse{};
    std::array<uint8_t, kPulsingOrbs + 1> OrbRising{};
    std::array<uint8_t, kMines + 1> MineMode{};
    std::array<TPathEntry, kPathLength + 1> Path{};
    // The grid last read from a level file, column by column as stored.
    std::array<std::array<uint8_t, 16>, 22> LevelGrid{};

    // The scene, made once by BuildWorld.
    TImageSprite* PointerSprite = nullptr;
    TImageSprite* AboutSprite = nullptr;
    TImageSpriteEx* HighlightSprite = nullptr;
    TImageSprite* MenuSprite = nullptr;
    TImageSprite* TitleSprite = nullptr;
    TImageSpriteEx* ShipSprite = nullptr;
    std::array<TImageSprite*, 12> Orbs{}; // 1..10 on the field, 11 the status-bar icon
    TImageSprite*& OrbIcon() { return Orbs[11]; }
    std::array<TImageSprite*, kSegments + 1> Segments{};
    std::array<TImageSprite*, kMines + 1> Mines{};
    TBackgroundSprite* FieldMap = nullptr;
    TImageSprite* GaugeSprite = nullptr;
    TBackgroundSprite* BackdropSprite = nullptr;
    TImageSprite* StatusBarSprite = nullptr;

    TRandom RandomGenerator;
    uint32_t Random(uint32_t n) { return RandomGenerator.Next(n); }

    // Services of the form.
    bool KeyDown(uint32_t code) const;
    void DrawSprites();
    TPictureCollectionItem& GraphicPicture(int index) const;
    TPictureCollectionItem& FXPicture(int index) const;
    TPictureCollectionItem& FonPicture(int index) const;
    TPictureCollectionItem& WorldPicture(int index) const;
    // The back buffer's text canvas, set for white text without background in the given
    // font; null when there is no back buffer.
    TDirectDrawSurfaceCanvas* TextCanvas(int size, const char* fontName);
    void Terminate();
};
