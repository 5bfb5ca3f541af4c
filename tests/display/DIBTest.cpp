#include "display/DIB.h"
#include "display/DirectXErrors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void U16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void U32(Bytes& b, uint32_t v) {
    U16(b, v & 0xFFFF);
    U16(b, v >> 16);
}

Bytes Header(int32_t w, int32_t h, int bits, uint32_t colorsUsed = 0) {
    Bytes b;
    U32(b, 40);
    U32(b, static_cast<uint32_t>(w));
    U32(b, static_cast<uint32_t>(h));
    U16(b, 1);
    U16(b, static_cast<uint32_t>(bits));
    U32(b, 0);
    U32(b, 0);
    U32(b, 0);
    U32(b, 0);
    U32(b, colorsUsed);
    U32(b, 0);
    return b;
}

// A 3 x 2 picture at 24 bits, rows bottom first, each row padded from 9 to 12 bytes.
Bytes ThreeByTwo() {
    Bytes b = Header(3, 2, 24);
    // Bottom row (y = 1): blue, green, red; then the top row (y = 0): white, black, grey.
    const uint8_t bottom[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
    const uint8_t top[] = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0};
    b.insert(b.end(), bottom, bottom + 12);
    b.insert(b.end(), top, top + 12);
    return b;
}

void ExpectInvalid(const Bytes& b) {
    TDIB dib;
    try {
        dib.LoadFromMemory(b.data(), b.size());
        FAIL() << "accepted";
    } catch (const EDirectDrawError& e) {
        EXPECT_STREQ(e.what(), "DIB is invalid");
    }
}

TEST(DIBTest, ReadsBottomUpRowsWithPadding) {
    Bytes b = ThreeByTwo();
    TDIB dib;
    dib.LoadFromMemory(b.data(), b.size());
    ASSERT_EQ(dib.Width(), 3);
    ASSERT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{255, 255, 255}));
    EXPECT_EQ(dib.Image().At(2, 0), (platform::Rgb{128, 128, 128}));
    EXPECT_EQ(dib.Image().At(0, 1), (platform::Rgb{0, 0, 255}));
    EXPECT_EQ(dib.Image().At(2, 1), (platform::Rgb{255, 0, 0}));
}

TEST(DIBTest, ReadsTopDownRows) {
    Bytes b = ThreeByTwo();
    // A negative height says the first stored row is the top one.
    int32_t h = -2;
    std::memcpy(&b[8], &h, 4);
    TDIB dib;
    dib.LoadFromMemory(b.data(), b.size());
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{0, 0, 255}));
}

TEST(DIBTest, ReadsEightBitsThroughTheColourTable) {
    Bytes b = Header(2, 1, 8);
    for (int i = 0; i < 256; ++i) {
        const uint8_t entry[] = {static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i), 0}; // blue, green, red
        b.insert(b.end(), entry, entry + 4);
    }
    const uint8_t row[] = {0, 200, 0, 0};
    b.insert(b.end(), row, row + 4);
    TDIB dib;
    dib.LoadFromMemory(b.data(), b.size());
    EXPECT_EQ(dib.BitCount(), 8);
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{255, 0, 0}));
    EXPECT_EQ(dib.Image().At(1, 0), (platform::Rgb{55, 0, 200}));
}

TEST(DIBTest, ReadsTheOlderTwelveByteHeader) {
    Bytes b;
    U32(b, 12);
    U16(b, 1);
    U16(b, 1);
    U16(b, 1);
    U16(b, 24);
    const uint8_t row[] = {10, 20, 30, 0};
    b.insert(b.end(), row, row + 4);
    TDIB dib;
    dib.LoadFromMemory(b.data(), b.size());
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{30, 20, 10}));
}

TEST(DIBTest, RefusesOtherHeadersAndTruncatedData) {
    Bytes b = ThreeByTwo();
    Bytes wrongHeader = b;
    wrongHeader[0] = 41;
    ExpectInvalid(wrongHeader);
    ExpectInvalid(Bytes(b.begin(), b.begin() + 20)); // ends inside the header
    ExpectInvalid(Bytes(b.begin(), b.end() - 1));    // ends inside the pixel rows
    ExpectInvalid(Bytes{});
    Bytes eight = Header(2, 1, 8);
    eight.resize(eight.size() + 500); // ends inside the colour table
    ExpectInvalid(eight);
    ExpectInvalid(Header(0, 5, 24));             // no pixels
    ExpectInvalid(Header(1 << 30, 1 << 30, 24)); // absurd size, refused before any allocation
    Bytes compressed = ThreeByTwo();
    compressed[16] = 1;
    ExpectInvalid(compressed);
}

TEST(DIBTest, ReadsOneFourAndThirtyTwoBitsAndSkipsAHintTable) {
    // 1 bit: two colours, eight pixels a byte, most significant first.
    Bytes one = Header(3, 1, 1);
    const uint8_t table1[] = {0, 0, 0, 0, 255, 255, 255, 0};
    one.insert(one.end(), table1, table1 + 8);
    const uint8_t row1[] = {0xA0, 0, 0, 0}; // 1 0 1
    one.insert(one.end(), row1, row1 + 4);
    TDIB dib;
    dib.LoadFromMemory(one.data(), one.size());
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{255, 255, 255}));
    EXPECT_EQ(dib.Image().At(1, 0), (platform::Rgb{0, 0, 0}));
    EXPECT_EQ(dib.Image().At(2, 0), (platform::Rgb{255, 255, 255}));

    // 4 bits with a table of only two colours; the high half of a byte is the left pixel.
    Bytes four = Header(2, 1, 4, 2);
    const uint8_t table4[] = {0, 0, 255, 0, 255, 0, 0, 0};
    four.insert(four.end(), table4, table4 + 8);
    const uint8_t row4[] = {0x10, 0, 0, 0};
    four.insert(four.end(), row4, row4 + 4);
    dib.LoadFromMemory(four.data(), four.size());
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{0, 0, 255}));
    EXPECT_EQ(dib.Image().At(1, 0), (platform::Rgb{255, 0, 0}));

    // 32 bits with a two-entry table that only hints at colours for palette displays.
    Bytes wide = Header(1, 1, 32, 2);
    wide.insert(wide.end(), 8, 0x55);
    const uint8_t pixel[] = {10, 20, 30, 0};
    wide.insert(wide.end(), pixel, pixel + 4);
    dib.LoadFromMemory(wide.data(), wide.size());
    EXPECT_EQ(dib.Image().At(0, 0), (platform::Rgb{30, 20, 10}));
}

// A stored picture block: the class name with its length, then the class's data.
Bytes Stored(const std::string& cls, const Bytes& data) {
    Bytes b;
    b.reserve(1 + cls.size() + data.size());
    b.push_back(static_cast<uint8_t>(cls.size()));
    for (char c : cls) {
        b.push_back(static_cast<uint8_t>(c));
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes BitmapFile(const Bytes& dib, uint32_t gap = 0) {
    Bytes file;
    file.reserve(64 + gap + dib.size());
    file.push_back('B');
    file.push_back('M');
    U32(file, static_cast<uint32_t>(14 + gap + dib.size()));
    U32(file, 0);
    U32(file, 14 + 40 + gap);
    file.insert(file.end(), dib.begin(), dib.begin() + 40);
    file.insert(file.end(), gap, 0xEE);
    file.insert(file.end(), dib.begin() + 40, dib.end());
    return file;
}

TEST(PictureTest, ReadsStoredDIBAndBitmapBlocks) {
    TPicture dibPicture;
    Bytes dib = Stored("TDIB", ThreeByTwo());
    dibPicture.LoadFromStoredData(dib.data(), dib.size());
    ASSERT_NE(dibPicture.Graphic(), nullptr);
    EXPECT_EQ(dibPicture.Graphic()->ClassName(), "TDIB");
    EXPECT_EQ(dibPicture.Width(), 3);

    Bytes file = BitmapFile(ThreeByTwo(), 6); // pixel rows start after a gap
    Bytes data;
    U32(data, static_cast<uint32_t>(file.size()));
    data.insert(data.end(), file.begin(), file.end());
    Bytes bitmap = Stored("TBitmap", data);
    TPicture bitmapPicture;
    bitmapPicture.LoadFromStoredData(bitmap.data(), bitmap.size());
    EXPECT_EQ(bitmapPicture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(bitmapPicture.Graphic()->Image().Pixels, dibPicture.Graphic()->Image().Pixels);
}

// A one-bit picture of w x h with all its rows present, so that only its size can be refused.
Bytes OneBitPicture(int32_t w, int32_t h) {
    Bytes b = Header(w, h, 1);
    U32(b, 0x000000);
    U32(b, 0xFFFFFF);
    const std::size_t rowBytes = (static_cast<std::size_t>(w) + 31) / 32 * 4;
    b.resize(b.size() + rowBytes * static_cast<std::size_t>(h), 0x55);
    return b;
}

// 16384 x 16384 at one bit is a 32 MB block that would decode to gigabytes: it is refused on
// its header, whole as it is.
TEST(PictureTest, RefusesPicturesLargerThanTheAreaLimit) {
    const Bytes huge = Stored("TDIB", OneBitPicture(16384, 16384));
    ASSERT_GT(huge.size(), 32u << 20);
    TPicture picture;
    try {
        picture.LoadFromStoredData(huge.data(), huge.size());
        FAIL() << "accepted";
    } catch (const EDirectDrawError& e) {
        EXPECT_STREQ(e.what(), "DIB is invalid");
    }
    EXPECT_TRUE(picture.Empty());
    ExpectInvalid(OneBitPicture(4096, 4097));
    ExpectInvalid(OneBitPicture(4097, 4096));
    ExpectInvalid(OneBitPicture(16385, 1)); // the longest side has its own limit
    for (auto [w, h] : {std::pair{4096, 4096}, std::pair{16384, 1}, std::pair{1, 16384}}) {
        TDIB dib;
        const Bytes b = OneBitPicture(w, h);
        ASSERT_NO_THROW(dib.LoadFromMemory(b.data(), b.size())) << w << "x" << h;
        EXPECT_EQ(dib.Width(), w);
        EXPECT_EQ(dib.Height(), h);
    }
}

TEST(PictureTest, RefusesABitmapWhoseCountRunsPastTheBlock) {
    Bytes file = BitmapFile(ThreeByTwo());
    Bytes data;
    U32(data, static_cast<uint32_t>(file.size() + 100));
    data.insert(data.end(), file.begin(), file.end());
    Bytes bitmap = Stored("TBitmap", data);
    TPicture picture;
    EXPECT_THROW(picture.LoadFromStoredData(bitmap.data(), bitmap.size()), EDirectDrawError);
    Bytes unknown = Stored("TIcon", Bytes(10, 0));
    EXPECT_THROW(picture.LoadFromStoredData(unknown.data(), unknown.size()), Exception);
    EXPECT_TRUE(picture.Empty());
}

} // namespace
