#include "platform/png/PngWriter.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
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

// Decodes a PNG with libpng's reader into packed RGB rows; false when it is not a valid PNG.
bool Decode(const std::vector<uint8_t>& file, int& width, int& height, std::vector<uint8_t>& rgb) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) {
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    rgb.assign(PNG_IMAGE_SIZE(png), 0);
    width = static_cast<int>(png.width);
    height = static_cast<int>(png.height);
    const bool ok = png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

std::vector<uint8_t> ExpectedRows(const RgbImage& image) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const Rgb c = image.At(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    return raw;
}

} // namespace

TEST(PngWriter, EncodesOnePixelExactly) {
    const std::vector<uint8_t> png = EncodePng(RgbImage{1, 1, {Rgb{255, 0, 0}}});
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(Decode(png, w, h, rgb));
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{255, 0, 0}));
}

TEST(PngWriter, StoresRowsTopDownAsRedGreenBlue) {
    const RgbImage image = Picture(3, 2);
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(Decode(EncodePng(image), w, h, rgb));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(rgb, ExpectedRows(image));
}

TEST(PngWriter, SplitsLargePicturesIntoFullBlocks) {
    // Larger than one deflate block of stored data: still every pixel comes back.
    const RgbImage image = Picture(200, 120);
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(Decode(EncodePng(image), w, h, rgb));
    EXPECT_EQ(rgb, ExpectedRows(image));
}

TEST(PngWriter, RefusesAPictureWhosePixelsDoNotMatchItsSize) {
    EXPECT_TRUE(EncodePng(RgbImage{2, 2, {Rgb{}}}).empty());
    EXPECT_TRUE(EncodePng(RgbImage{0, 0, {}}).empty());
    EXPECT_FALSE(WritePng("/nonexistent-folder/x.png", RgbImage{0, 0, {}}));
}

TEST(PngWriter, WritePngWritesTheEncodedFile) {
    const RgbImage image = Picture(5, 4);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vk-png-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(WritePng(path.string(), image));
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    EXPECT_EQ(file, EncodePng(image));
    EXPECT_FALSE(WritePng("/nonexistent-folder/x.png", image));
}
