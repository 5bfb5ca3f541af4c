#include "tools/levels/PictureFile.h"
#include "tools/levels/PngWriter.h"

#include <gtest/gtest.h>

using namespace levels;

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// A stored block of a 2 x 2 picture: class name, 40-byte header, colour table at 8 bits, rows.
std::vector<uint8_t> Block(const std::string& cls, int bits, const std::vector<uint8_t>& rows,
                           uint32_t headerSize = 40) {
    std::vector<uint8_t> dib;
    Put32(dib, headerSize);
    Put32(dib, 2);
    Put32(dib, 2);
    dib.insert(dib.end(), {1, 0, static_cast<uint8_t>(bits), 0});
    for (int i = 0; i < 6; ++i) {
        Put32(dib, 0);
    }
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            dib.insert(dib.end(), {static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i), 0});
        }
    }
    dib.insert(dib.end(), rows.begin(), rows.end());
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>(cls.size()));
    for (char c : cls) {
        out.push_back(static_cast<uint8_t>(c));
    }
    if (cls == "TBitmap") {
        std::vector<uint8_t> file{'B', 'M'};
        Put32(file, static_cast<uint32_t>(14 + dib.size()));
        Put32(file, 0);
        Put32(file, 54);
        file.insert(file.end(), dib.begin(), dib.end());
        Put32(out, static_cast<uint32_t>(file.size()));
        out.insert(out.end(), file.begin(), file.end());
    } else {
        out.insert(out.end(), dib.begin(), dib.end());
    }
    return out;
}

// Bottom row first, blue green red per pixel, each row padded to 8 bytes.
const std::vector<uint8_t> kRows24 = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};

} // namespace

TEST(PictureFile, ReadsBottomUpTwentyFourBitRows) {
    PictureInfo info = ReadPictureBlock(Block("TDIB", 24, kRows24));
    EXPECT_EQ(info.ClassName, "TDIB");
    EXPECT_EQ(info.BitsPerPixel, 24);
    ASSERT_EQ(info.Pixels.Width, 2);
    const uint8_t* topLeft = info.Pixels.Pixel(0, 0);
    EXPECT_EQ(topLeft[0], 9);
    EXPECT_EQ(topLeft[2], 7);
    const uint8_t* bottomRight = info.Pixels.Pixel(1, 1);
    EXPECT_EQ(bottomRight[0], 6);
    EXPECT_EQ(bottomRight[2], 4);
}

TEST(PictureFile, ReadsBitmapFilesAndColourTables) {
    PictureInfo bitmap = ReadPictureBlock(Block("TBitmap", 24, kRows24));
    EXPECT_EQ(bitmap.ClassName, "TBitmap");
    EXPECT_EQ(bitmap.Pixels.Pixel(1, 0)[0], 12);
    PictureInfo indexed = ReadPictureBlock(Block("TDIB", 8, {200, 0, 0, 0, 10, 0, 0, 0}));
    EXPECT_EQ(indexed.BitsPerPixel, 8);
    // Entry i is red 255 - i, blue i.
    EXPECT_EQ(indexed.Pixels.Pixel(0, 1)[0], 55);
    EXPECT_EQ(indexed.Pixels.Pixel(0, 1)[2], 200);
    EXPECT_EQ(indexed.Pixels.Pixel(0, 0)[0], 245);
}

TEST(PictureFile, RefusesDamagedBlocks) {
    std::vector<uint8_t> good = Block("TDIB", 24, kRows24);
    EXPECT_THROW(ReadPictureBlock(std::vector<uint8_t>(good.begin(), good.end() - 1)), PictureError);
    EXPECT_THROW(ReadPictureBlock(Block("TDIB", 24, kRows24, 12)), PictureError);
    EXPECT_THROW(ReadPictureBlock(Block("TJPEG", 24, kRows24)), PictureError);
    EXPECT_THROW(ReadPictureBlock({}), PictureError);
}

TEST(PngWriter, WritesSignatureHeaderAndEnd) {
    Image image(3, 2);
    image.Pixel(2, 1)[1] = 200;
    std::vector<uint8_t> png = EncodePng(image);
    const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(png.size(), 57u);
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(png[19], 3); // width
    EXPECT_EQ(png[23], 2); // height
    // IEND with its fixed checksum closes the file.
    const std::vector<uint8_t> end{'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(end.begin(), end.end(), png.end() - 8));
}
