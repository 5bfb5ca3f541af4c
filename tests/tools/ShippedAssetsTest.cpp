// Checks the levels and pictures kept in assets/: every level sound and fair, the progression
// as designed, and every picture stored exactly as the catalogue of the game's image lists says.
#include "level/LevelCheck.h"
#include "level/LevelFiles.h"
#include "level/MinePatrol.h"
#include "tools/levels/LevelRenderer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace levels;
using platform::Rgb;

namespace {

const std::string kAssets = VK_ASSETS_DIR;

int BitCountOf(const TGraphic& graphic) {
    if (const auto* dib = dynamic_cast<const TDIB*>(&graphic)) {
        return dib->BitCount();
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) {
        return bitmap->BitCount();
    }
    return 0;
}

std::string LevelPath(int n) {
    std::string name = std::to_string(n);
    return kAssets + "/levels/" + (n < 10 ? "0" + name : name) + ".txt";
}

struct Expected {
    std::string List;
    int Index;
    std::string Class;
    int Width, Height, Bits, PatternWidth, Transparent;
    long long Colour;
};

// The image lists' pictures: stored class, size, bits per pixel, pattern width, transparency.
std::vector<Expected> Catalogue() {
    std::vector<Expected> all = {
        {"GraphicList", 0, "TDIB", 30, 30, 24, 0, 1, 0},
        {"GraphicList", 1, "TDIB", 130, 160, 24, 0, 0, 0},
        {"GraphicList", 2, "TDIB", 130, 40, 24, 0, 0, 0},
        {"GraphicList", 3, "TDIB", 30, 30, 8, 0, 1, 0},
        {"GraphicList", 4, "TDIB", 640, 30, 24, 0, 0, 0},
        {"GraphicList", 5, "TBitmap", 10, 450, 24, 0, 0, 0},
        {"GraphicList", 6, "TBitmap", 640, 480, 24, 0, 0, 0},
        {"FXList", 12, "TBitmap", 630, 450, 24, 0, 0, 0},
        {"FonList", 0, "TDIB", 640, 480, 24, 0, 0, 0},
        {"WorldList", 0, "TBitmap", 60, 30, 24, 30, 1, 0xFF0000},
        {"WorldList", 1, "TBitmap", 60, 30, 24, 30, 0, 38306},
        {"WorldList", 2, "TBitmap", 60, 30, 24, 30, 0, 329105},
        {"WorldList", 3, "TBitmap", 60, 30, 24, 30, 0, 1937199},
        {"WorldList", 4, "TBitmap", 60, 30, 24, 30, 1, 0xFF0000},
    };
    for (int i = 0; i < 6; ++i) {
        all.push_back({"FXList", i, "TDIB", 30, 30, 24, 0, 1, 0});
        all.push_back({"FXList", 6 + i, "TDIB", 30, 30, 8, 0, 1, 0});
    }
    return all;
}

struct Line {
    std::string File;
    int PatternWidth = 0, PatternHeight = 0, Transparent = 0;
    long long Colour = 0;
};

std::map<std::pair<std::string, int>, Line> ReadCatalogue() {
    std::map<std::pair<std::string, int>, Line> lines;
    std::ifstream file(kAssets + "/pictures/catalogue.tsv");
    for (std::string text; std::getline(file, text);) {
        std::istringstream fields(text);
        std::string list;
        int index = 0;
        Line line;
        fields >> list >> index >> line.File >> line.PatternWidth >> line.PatternHeight >> line.Transparent >>
            line.Colour;
        lines[{list, index}] = line;
    }
    return lines;
}

} // namespace

TEST(ShippedLevels, EveryLevelIsSoundAndFair) {
    for (int n = 1; n <= 24; ++n) {
        Level level = LoadLevelFile(LevelPath(n));
        auto problems = CheckLevel(level);
        EXPECT_TRUE(problems.empty()) << "level " << n << ": " << (problems.empty() ? "" : problems.front().Text);
    }
}

TEST(ShippedLevels, FirstLevelStartsAtTheTopLeft) {
    EXPECT_EQ(LoadLevelFile(LevelPath(1)).At(0, 0), Ship);
}

TEST(ShippedLevels, MinesGrowFromFewToTwentyAndMore) {
    std::vector<int> mines;
    for (int n = 1; n <= 24; ++n) {
        mines.push_back(CountMines(LoadLevelFile(LevelPath(n))));
    }
    for (int n = 1; n <= 4; ++n) {
        EXPECT_GE(mines[n - 1], 2) << "level " << n;
        EXPECT_LE(mines[n - 1], 3) << "level " << n;
    }
    for (int n = 21; n <= 24; ++n) {
        EXPECT_GE(mines[n - 1], 20) << "level " << n;
    }
    // Each block of levels (one tile set) has more mines on average than the one before.
    const int blocks[6] = {1, 5, 10, 15, 20, 25};
    double previous = 0;
    for (int b = 0; b < 5; ++b) {
        double sum = 0;
        for (int n = blocks[b]; n < blocks[b + 1]; ++n) {
            sum += mines[n - 1];
        }
        double mean = sum / (blocks[b + 1] - blocks[b]);
        EXPECT_GT(mean, previous) << "levels from " << blocks[b];
        previous = mean;
    }
}

TEST(ShippedPictures, MatchTheCatalogue) {
    auto lines = ReadCatalogue();
    EXPECT_EQ(lines.size(), 26u);
    for (const Expected& e : Catalogue()) {
        std::string name = e.List + " " + std::to_string(e.Index);
        auto it = lines.find({e.List, e.Index});
        ASSERT_NE(it, lines.end()) << name;
        EXPECT_EQ(it->second.PatternWidth, e.PatternWidth) << name;
        EXPECT_EQ(it->second.PatternHeight, e.PatternWidth) << name;
        EXPECT_EQ(it->second.Transparent, e.Transparent) << name;
        EXPECT_EQ(it->second.Colour, e.Colour) << name;
        std::vector<uint8_t> block = ReadFileBytes(kAssets + "/pictures/" + it->second.File);
        TPicture picture;
        picture.LoadFromStoredData(block.data(), block.size());
        ASSERT_NE(picture.Graphic(), nullptr) << name;
        EXPECT_EQ(picture.Graphic()->ClassName(), e.Class) << name;
        EXPECT_EQ(BitCountOf(*picture.Graphic()), e.Bits) << name;
        EXPECT_EQ(picture.Width(), e.Width) << name;
        EXPECT_EQ(picture.Height(), e.Height) << name;
        if (e.Width == 30 && e.Height == 30) {
            EXPECT_EQ(block.size(), e.Bits == 24 ? 2805u : 2029u) << name;
        }
    }
}

TEST(ShippedPictures, KeyedEdgesHaveNoDarkFringe) {
    const platform::PixelFormat display = platform::PixelFormat::ForBitCount(16);
    for (const auto& [key, line] : ReadCatalogue()) {
        if (!line.Transparent) {
            continue;
        }
        const platform::RgbImage img = LoadPictureFile(kAssets + "/pictures/" + line.File).Graphic()->Image();
        const Rgb keyRgb{static_cast<uint8_t>(line.Colour), static_cast<uint8_t>(line.Colour >> 8),
                         static_cast<uint8_t>(line.Colour >> 16)};
        const bool blackKey = line.Colour == 0;
        auto isKey = [&](int x, int y) {
            return x < 0 || y < 0 || x >= img.Width || y >= img.Height ? blackKey : img.At(x, y) == keyRgb;
        };
        int bad = 0;
        for (int y = 0; y < img.Height; ++y) {
            for (int x = 0; x < img.Width; ++x) {
                if (isKey(x, y)) {
                    continue;
                }
                bool edge = false;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        edge = edge || isKey(x + dx, y + dy);
                    }
                }
                const Rgb p = img.At(x, y);
                int peak = std::max({p.r, p.g, p.b});
                bool nearKey = blackKey ? peak < 48 : (p.r < 48 && p.g < 48 && p.b > 200);
                bad += edge && nearKey ? 1 : 0;
                // Only the frame colour of the blue-keyed tiles may share the key's 16-bit value.
                bool frame = !blackKey && p == Rgb{0, 0, 254};
                bad += !frame && display.FromRgb(p) == display.FromRgb(keyRgb) ? 1 : 0;
            }
        }
        EXPECT_EQ(bad, 0) << key.first << " " << key.second;
    }
}

TEST(ShippedPictures, LevelRendererDrawsTheShipAtItsStart) {
    LevelRenderer renderer(kAssets + "/pictures");
    const platform::RgbImage field = renderer.Render(LoadLevelFile(LevelPath(1)), 1);
    ASSERT_EQ(field.Width, 630);
    ASSERT_EQ(field.Height, 450);
    const platform::RgbImage ship = LoadPictureFile(kAssets + "/pictures/GraphicList-3.pic").Graphic()->Image();
    EXPECT_EQ(field.At(15, 15), ship.At(15, 15));
}
