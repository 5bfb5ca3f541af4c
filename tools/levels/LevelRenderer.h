#pragma once

#include "display/DIB.h"
#include "level/Level.h"
#include "platform/pixels/DeviceContext.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace levels {

// Reads a stored picture block (assets/pictures/*.pic) with the display library; throws
// std::runtime_error with the path and the display's message when the block is unreadable.
TPicture LoadPictureFile(const std::string& path);

// Tile set (WorldList picture 0..4) that the game shows for a level number 1..24.
int TileSetFor(int levelNumber);

// Draws levels with the game's own pictures, read from a folder of stored picture blocks
// and its catalogue.tsv (assets/pictures).
class LevelRenderer {
public:
    // Throws std::runtime_error when the catalogue or a picture is missing or unreadable.
    explicit LevelRenderer(const std::string& picturesDir);

    // The 630 x 450 field at the level's start: the backdrop, the tile set of the level's number
    // (keyed as the 16-bit display keys it), every mine with an arrow for its direction, the ship.
    platform::RgbImage Render(const Level& level, int levelNumber) const;

    // Levels numbered from 1 at half size, four to a row, each with its number at the top left
    // and its mine count at the top right.
    platform::RgbImage ContactSheet(const std::vector<Level>& levels) const;

private:
    struct Sprite {
        platform::RgbImage Pixels;
        bool Transparent = false;
        uint32_t Key = 0; // the key colour as the 16-bit display holds it
    };

    Sprite Load(const std::string& dir, const std::string& list, int index) const;

    std::vector<std::string> catalogue_;
    std::array<Sprite, 5> tileSets_;
    Sprite mine_;
    Sprite ship_;
    Sprite backdrop_;
};

} // namespace levels
