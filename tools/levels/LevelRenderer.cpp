#include "tools/levels/LevelRenderer.h"

#include "level/LevelFiles.h"
#include "level/MinePatrol.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace levels {

namespace {

using platform::Rgb;
using platform::RgbImage;

// Digits 0..9 as 3 x 5 bitmaps, one row per three bits.
constexpr std::array<uint16_t, 10> kDigits = {075557, 022222, 071747, 071717, 055711,
                                              074717, 074757, 071111, 075757, 075717};

// The display mode the game runs in: colour keys are compared in its raw pixel values.
const platform::PixelFormat kDisplayFormat = platform::PixelFormat::ForBitCount(16);

RgbImage Blank(int width, int height) {
    return RgbImage{width, height, std::vector<Rgb>(static_cast<size_t>(width) * height)};
}

Rgb& PixelAt(RgbImage& img, int x, int y) {
    return img.Pixels[static_cast<size_t>(y) * img.Width + x];
}

void Blit(RgbImage& dest, const RgbImage& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed, uint32_t key) {
    for (int y = 0; y < h; ++y) {
        int ty = dy + y;
        if (ty < 0 || ty >= dest.Height) {
            continue;
        }
        for (int x = 0; x < w; ++x) {
            int tx = dx + x;
            if (tx < 0 || tx >= dest.Width) {
                continue;
            }
            const Rgb p = src.At(sx + x, sy + y);
            if (keyed && kDisplayFormat.FromRgb(p) == key) {
                continue;
            }
            PixelAt(dest, tx, ty) = p;
        }
    }
}

void FillRect(RgbImage& img, int x0, int y0, int w, int h, Rgb c) {
    for (int y = std::max(0, y0); y < std::min(img.Height, y0 + h); ++y) {
        for (int x = std::max(0, x0); x < std::min(img.Width, x0 + w); ++x) {
            PixelAt(img, x, y) = c;
        }
    }
}

// A number in block digits of `scale` pixels on a dark plate; returns the plate's width.
int DrawNumber(RgbImage& img, int x, int y, int value, int scale, Rgb colour) {
    std::string text = std::to_string(value);
    int width = static_cast<int>(text.size()) * 4 * scale + scale;
    FillRect(img, x, y, width, 7 * scale, {0, 0, 0});
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t bits = kDigits[text[i] - '0'];
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (bits >> ((4 - row) * 3 + (2 - col)) & 1) {
                    FillRect(img, x + scale + static_cast<int>(i) * 4 * scale + col * scale, y + scale + row * scale,
                             scale, scale, colour);
                }
            }
        }
    }
    return width;
}

// A yellow arrowhead over a mine's box pointing the way it starts to move.
void DrawArrow(RgbImage& img, int left, int top, int mode) {
    static const int dirs[5][2] = {{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    const int ux = dirs[mode][0];
    const int uy = dirs[mode][1];
    if (ux == 0 && uy == 0) {
        return;
    }
    for (int y = 0; y < kCellSize; ++y) {
        for (int x = 0; x < kCellSize; ++x) {
            // Position along and across the direction, from the box centre.
            double px = x + 0.5 - 15.0;
            double py = y + 0.5 - 15.0;
            double along = px * ux + py * uy;
            double across = std::abs(px * -uy + py * ux);
            bool inside = along >= 4.0 && along <= 14.0 && across <= (14.0 - along) * 0.6;
            bool rim = along >= 3.0 && along <= 15.0 && across <= (15.0 - along) * 0.6 + 1.0;
            int tx = left + x;
            int ty = top + y;
            if (tx < 0 || ty < 0 || tx >= img.Width || ty >= img.Height || !rim) {
                continue;
            }
            PixelAt(img, tx, ty) = inside ? Rgb{255, 226, 40} : Rgb{0, 0, 0};
        }
    }
}

RgbImage Half(const RgbImage& img) {
    RgbImage out = Blank(img.Width / 2, img.Height / 2);
    for (int y = 0; y < out.Height; ++y) {
        for (int x = 0; x < out.Width; ++x) {
            const Rgb a = img.At(2 * x, 2 * y), b = img.At(2 * x + 1, 2 * y), c = img.At(2 * x, 2 * y + 1),
                      d = img.At(2 * x + 1, 2 * y + 1);
            auto mean = [](int p, int q, int r, int s) { return static_cast<uint8_t>((p + q + r + s + 2) / 4); };
            PixelAt(out, x, y) = Rgb{mean(a.r, b.r, c.r, d.r), mean(a.g, b.g, c.g, d.g), mean(a.b, b.b, c.b, d.b)};
        }
    }
    return out;
}

} // namespace

TPicture LoadPictureFile(const std::string& path) {
    const std::vector<uint8_t> block = ReadFileBytes(path);
    TPicture picture;
    try {
        picture.LoadFromStoredData(block.data(), block.size());
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    return picture;
}

int TileSetFor(int levelNumber) {
    if (levelNumber <= 4) {
        return 0;
    }
    if (levelNumber <= 9) {
        return 1;
    }
    if (levelNumber <= 14) {
        return 2;
    }
    if (levelNumber <= 19) {
        return 3;
    }
    return 4;
}

LevelRenderer::LevelRenderer(const std::string& picturesDir) {
    const std::vector<uint8_t> bytes = ReadFileBytes(picturesDir + "/catalogue.tsv");
    std::istringstream file(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(file, line);) {
        catalogue_.push_back(line);
    }
    for (int i = 0; i < 5; ++i) {
        tileSets_[i] = Load(picturesDir, "WorldList", i);
    }
    mine_ = Load(picturesDir, "FXList", 0);
    ship_ = Load(picturesDir, "GraphicList", 3);
    backdrop_ = Load(picturesDir, "FXList", 12);
}

LevelRenderer::Sprite LevelRenderer::Load(const std::string& dir, const std::string& list, int index) const {
    for (const std::string& line : catalogue_) {
        std::istringstream fields(line);
        std::string name, file;
        int number = 0, pw = 0, ph = 0, transparent = 0;
        long long colour = 0;
        fields >> name >> number >> file >> pw >> ph >> transparent >> colour;
        if (name != list || number != index) {
            continue;
        }
        Sprite sprite;
        sprite.Pixels = LoadPictureFile(dir + "/" + file).Graphic()->Image();
        sprite.Transparent = transparent != 0;
        sprite.Key = kDisplayFormat.FromRgb(
            Rgb{static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour >> 16)});
        return sprite;
    }
    throw std::runtime_error(Fill(Tr("the picture catalogue has no {} {}"), {list, std::to_string(index)}));
}

RgbImage LevelRenderer::Render(const Level& level, int levelNumber) const {
    const int width = kFieldColumns * kCellSize;
    const int height = kFieldRows * kCellSize;
    RgbImage out = Blank(width, height);
    Blit(out, backdrop_.Pixels, 0, 0, std::min(width, backdrop_.Pixels.Width),
         std::min(height, backdrop_.Pixels.Height), 0, 0, false, 0);
    const Sprite& tiles = tileSets_[TileSetFor(levelNumber)];
    for (int row = 0; row < kFieldRows; ++row) {
        for (int column = 0; column < kFieldColumns; ++column) {
            int pattern = level.IsWall(column, row) ? 1 : 0;
            Blit(out, tiles.Pixels, pattern * kCellSize, 0, kCellSize, kCellSize, column * kCellSize, row * kCellSize,
                 tiles.Transparent, tiles.Key);
        }
    }
    MinePatrol patrol(level);
    for (const Mine& m : patrol.Mines()) {
        Blit(out, mine_.Pixels, 0, 0, kCellSize, kCellSize, m.X, m.Y, mine_.Transparent, mine_.Key);
        DrawArrow(out, m.X, m.Y, m.Mode);
    }
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            if (level.At(column, row) == Ship) {
                Blit(out, ship_.Pixels, 0, 0, kCellSize, kCellSize, column * kCellSize, row * kCellSize,
                     ship_.Transparent, ship_.Key);
            }
        }
    }
    return out;
}

RgbImage LevelRenderer::ContactSheet(const std::vector<Level>& levels) const {
    const int across = 4;
    const int gap = 8;
    const int thumbW = kFieldColumns * kCellSize / 2;
    const int thumbH = kFieldRows * kCellSize / 2;
    const int down = (static_cast<int>(levels.size()) + across - 1) / across;
    RgbImage sheet = Blank(across * (thumbW + gap) + gap, down * (thumbH + gap) + gap);
    FillRect(sheet, 0, 0, sheet.Width, sheet.Height, {40, 40, 46});
    for (size_t i = 0; i < levels.size(); ++i) {
        int number = static_cast<int>(i) + 1;
        RgbImage thumb = Half(Render(levels[i], number));
        int x = gap + static_cast<int>(i % across) * (thumbW + gap);
        int y = gap + static_cast<int>(i / across) * (thumbH + gap);
        Blit(sheet, thumb, 0, 0, thumbW, thumbH, x, y, false, 0);
        DrawNumber(sheet, x, y, number, 3, {255, 255, 255});
        int mines = static_cast<int>(MinePatrol(levels[i]).Mines().size());
        int w = static_cast<int>(std::to_string(mines).size()) * 8 + 2;
        DrawNumber(sheet, x + thumbW - w, y, mines, 2, {255, 90, 70});
    }
    return sheet;
}

} // namespace levels
