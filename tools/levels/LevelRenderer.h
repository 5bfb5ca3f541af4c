#pragma once

#include "tools/levels/Image.h"
#include "tools/levels/Level.h"

#include <array>
#include <string>
#include <vector>

namespace levels {

// Tile set (WorldList picture 0..4) that the game shows for a level number 1..24.
int TileSetFor(int levelNumber);

// Draws levels with the game's own pictures, read from a folder of stored picture blocks
// and its catalogue.tsv (assets/pictures).
class LevelRenderer {
public:
    // Throws PictureError when a picture is missing or unreadable.
    explicit LevelRenderer(const std::string& picturesDir);

    // The 630 x 450 field at the level's start: the backdrop, the tile set of the level's number
    // (keyed as the 16-bit display keys it), every mine with an arrow for its direction, the ship.
    Image Render(const Level& level, int levelNumber) const;

    // Levels numbered from 1 at half size, four to a row, each with its number at the top left
    // and its mine count at the top right.
    Image ContactSheet(const std::vector<Level>& levels) const;

private:
    struct Sprite {
        Image Pixels;
        bool Transparent = false;
        uint16_t Key = 0;
    };

    Sprite Load(const std::string& dir, const std::string& list, int index) const;

    std::vector<std::string> catalogue_;
    std::array<Sprite, 5> tileSets_;
    Sprite mine_;
    Sprite ship_;
    Sprite backdrop_;
};

} // namespace levels
