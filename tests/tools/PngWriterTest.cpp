#include "tools/common/PngWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::Rgb;
using platform::RgbImage;

RgbImage Picture(int width, int height) {
    RgbImage image{width, height, std::vector<Rgb>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Pixels[static_cast<std::size_t>(y) * width + x] =
                Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x + y)};
        }
    }
    return image;
}

uint32_t Be32(const std::vector<uint8_t>& data, std::size_t at) {
    return uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 | data[at + 3];
}

struct Chunk {
    std::string Type;
    std::vector<uint8_t> Data;
};

std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = Be32(png, at);
        chunks.push_back({std::string(png.begin() + at + 4, png.begin() + at + 8),
                          std::vector<uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)});
        at += 12 + length;
    }
    return chunks;
}

// The bytes of a zlib stream of stored deflate blocks, with the size of every block.
std::vector<uint8_t> Unstore(const std::vector<uint8_t>& z, std::vector<std::size_t>& blockSizes) {
    std::vector<uint8_t> raw;
    std::size_t at = 2;
    for (bool last = false; !last;) {
        last = (z.at(at) & 1) != 0;
        const std::size_t length = z.at(at + 1) | z.at(at + 2) << 8;
        EXPECT_EQ(length ^ 0xFFFF, static_cast<std::size_t>(z.at(at + 3) | z.at(at + 4) << 8));
        raw.insert(raw.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   z.begin() + static_cast<std::ptrdiff_t>(at + 5 + length));
        blockSizes.push_back(length);
        at += 5 + length;
    }
    EXPECT_EQ(at + 4, z.size()); // the checksum closes the stream
    return raw;
}

std::vector<uint8_t> ExpectedRows(const RgbImage& image) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < image.Height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.Width; ++x) {
            const Rgb c = image.At(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    return raw;
}

} // namespace

// Checksums from an independent implementation: the whole file of a one-pixel red picture.
TEST(PngWriter, EncodesOnePixelExactly) {
    const std::vector<uint8_t> expected = {
        0x89, 'P',  'N',  'G',  '\r', '\n', 0x1A, '\n', 0,    0,    0,    13,   'I',  'H',  'D',  'R',  0,    0,
        0,    1,    0,    0,    0,    1,    8,    2,    0,    0,    0,    0x90, 0x77, 0x53, 0xDE, 0,    0,    0,
        15,   'I',  'D',  'A',  'T',  0x78, 0x01, 0x01, 0x04, 0x00, 0xFB, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x03, 0x01,
        0x01, 0x00, 0x8D, 0x1D, 0xE5, 0x82, 0,    0,    0,    0,    'I',  'E',  'N',  'D',  0xAE, 0x42, 0x60, 0x82};
    EXPECT_EQ(EncodePng(RgbImage{1, 1, {Rgb{255, 0, 0}}}), expected);
}

TEST(PngWriter, StoresRowsTopDownAsRedGreenBlue) {
    const RgbImage image = Picture(3, 2);
    const std::vector<Chunk> chunks = Chunks(EncodePng(image));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].Type, "IHDR");
    EXPECT_EQ(Be32(chunks[0].Data, 0), 3u);
    EXPECT_EQ(Be32(chunks[0].Data, 4), 2u);
    ASSERT_EQ(chunks[1].Type, "IDAT");
    std::vector<std::size_t> blocks;
    EXPECT_EQ(Unstore(chunks[1].Data, blocks), ExpectedRows(image));
    EXPECT_EQ(chunks[2].Type, "IEND");
}

TEST(PngWriter, SplitsLargePicturesIntoFullBlocks) {
    // 200 x 120 pixels make 120 * 601 = 72120 bytes of rows: one full block and the rest.
    const RgbImage image = Picture(200, 120);
    const std::vector<Chunk> chunks = Chunks(EncodePng(image));
    ASSERT_EQ(chunks.size(), 3u);
    std::vector<std::size_t> blocks;
    EXPECT_EQ(Unstore(chunks[1].Data, blocks), ExpectedRows(image));
    EXPECT_EQ(blocks, (std::vector<std::size_t>{65535, 72120 - 65535}));
}
