#pragma once

#include "display/Graphics.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A device-independent bitmap: the bare header, colour table and pixel rows, without a file header.
class TDIB : public TGraphic {
public:
    TDIB() = default;
    explicit TDIB(platform::RgbImage image, int bitCount = 24);

    std::string ClassName() const override { return "TDIB"; }
    int Width() const override { return image_.Width; }
    int Height() const override { return image_.Height; }
    int BitCount() const { return bitCount_; }
    const platform::RgbImage& Image() const override { return image_; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TDIB>(*this); }

    static constexpr std::size_t kRowsFollow = static_cast<std::size_t>(-1);
    // Reads a header (40 or the older 12 bytes), its colour table and its pixel rows from
    // `size` bytes; the rows follow the table unless `rowsOffset` says where they start.
    // Raises EDirectDrawError "DIB is invalid" for anything else, never reading past the end.
    void LoadFromMemory(const uint8_t* data, std::size_t size, std::size_t rowsOffset = kRowsFollow);

private:
    platform::RgbImage image_;
    int bitCount_ = 0;
};

// The framework's bitmap: an ordinary BMP file (14-byte file header and a device-independent bitmap).
class TBitmap : public TGraphic {
public:
    std::string ClassName() const override { return "TBitmap"; }
    int Width() const override { return dib_.Width(); }
    int Height() const override { return dib_.Height(); }
    int BitCount() const { return dib_.BitCount(); }
    const platform::RgbImage& Image() const override { return dib_.Image(); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }

    // Reads a whole BMP file of `size` bytes; refuses it like TDIB does.
    void LoadFromMemory(const uint8_t* data, std::size_t size);

private:
    TDIB dib_;
};

// The picture of a picture item: owns one graphic of either kind.
class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& other);
    TPicture& operator=(const TPicture& other);

    const TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    bool Empty() const { return !graphic_ || graphic_->Empty(); }

    // Reads a stored picture: one byte n, n bytes of the class name ("TDIB" or "TBitmap"),
    // then the class's data (for a TBitmap a 32-bit byte count and that many bytes of BMP file).
    void LoadFromStoredData(const uint8_t* data, std::size_t size);

private:
    std::unique_ptr<TGraphic> graphic_;
};
