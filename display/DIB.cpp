#include "display/DIB.h"

#include "display/DirectXErrors.h"
#include "platform/files/ResourceLimits.h"

#include <cstring>

namespace {

// Reads little-endian fields from a block and refuses to read past its end.
class Reader {
public:
    Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Has(std::size_t count) const { return count <= size_ - at_; }
    uint32_t U32() { return static_cast<uint32_t>(U16()) | (static_cast<uint32_t>(U16()) << 16); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint16_t U16() {
        Need(2);
        uint16_t v = static_cast<uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
        at_ += 2;
        return v;
    }
    uint8_t U8() {
        Need(1);
        return data_[at_++];
    }
    const uint8_t* Take(std::size_t count) {
        Need(count);
        const uint8_t* p = data_ + at_;
        at_ += count;
        return p;
    }
    std::size_t Position() const { return at_; }

private:
    void Need(std::size_t count) const {
        if (!Has(count)) {
            throw EDirectDrawError(SDIBInvalid);
        }
    }
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

[[noreturn]] void Invalid() {
    throw EDirectDrawError(SDIBInvalid);
}

// One stored row of pixels to colours; the depth is chosen once per row, not per pixel.
void DecodeRow(const uint8_t* row, int bitCount, const std::vector<platform::Rgb>& palette, platform::Rgb* out,
               int width) {
    switch (bitCount) {
    case 24:
        for (int x = 0; x < width; ++x, row += 3) {
            out[x] = platform::Rgb{row[2], row[1], row[0]};
        }
        break;
    case 32:
        for (int x = 0; x < width; ++x, row += 4) {
            out[x] = platform::Rgb{row[2], row[1], row[0]};
        }
        break;
    case 8:
        for (int x = 0; x < width; ++x) {
            out[x] = palette[row[x]];
        }
        break;
    case 4:
        for (int x = 0; x < width; ++x) {
            out[x] = palette[(row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F];
        }
        break;
    default:
        for (int x = 0; x < width; ++x) {
            out[x] = palette[(row[x / 8] >> (7 - (x & 7))) & 1];
        }
        break;
    }
}

} // namespace

TDIB::TDIB(platform::RgbImage image, int bitCount) : image_(std::move(image)), bitCount_(bitCount) {}

void TDIB::LoadFromMemory(const uint8_t* data, std::size_t size, std::size_t rowsOffset) {
    Reader in(data, size);
    const uint32_t headerSize = in.U32();
    int64_t width = 0, height = 0;
    int bitCount = 0;
    uint32_t compression = 0, colorsUsed = 0;
    int paletteEntrySize = 4;
    if (headerSize == 40) {
        width = in.I32();
        height = in.I32();
        in.U16(); // planes
        bitCount = in.U16();
        compression = in.U32();
        in.Take(12); // image size and resolution
        colorsUsed = in.U32();
        in.U32(); // important colours
    } else if (headerSize == 12) {
        width = in.U16();
        height = in.U16(); // the older header has no top-down rows
        in.U16();
        bitCount = in.U16();
        paletteEntrySize = 3;
    } else {
        Invalid();
    }
    const bool topDown = height < 0;
    if (topDown) {
        height = -height;
    }
    // The declared size is bounded before anything is read or allocated for it: a few bytes of
    // header must not ask for gigabytes of pixels and surfaces.
    if (compression != 0 || width <= 0 || height <= 0 || width > platform::kMaxPictureSide ||
        height > platform::kMaxPictureSide || width * height > platform::kMaxPictureArea) {
        Invalid();
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        Invalid();
    }

    std::vector<platform::Rgb> palette;
    if (bitCount <= 8) {
        uint32_t entries = colorsUsed == 0 ? (1u << bitCount) : colorsUsed;
        if (entries > 256) {
            Invalid();
        }
        const uint8_t* table = in.Take(static_cast<std::size_t>(entries) * paletteEntrySize);
        palette.resize(256);
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t* e = table + static_cast<std::size_t>(i) * paletteEntrySize;
            palette[i] = platform::Rgb{e[2], e[1], e[0]};
        }
    } else if (colorsUsed > 0) {
        // A table given with direct colours is only a hint for palette displays: skip it.
        if (colorsUsed > 256) {
            Invalid();
        }
        in.Take(static_cast<std::size_t>(colorsUsed) * paletteEntrySize);
    }

    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    if (rowsOffset != kRowsFollow) {
        if (rowsOffset < in.Position()) {
            Invalid();
        }
        in.Take(rowsOffset - in.Position());
    }
    const uint8_t* rows = in.Take(rowBytes * static_cast<std::size_t>(height));

    platform::RgbImage image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int64_t y = 0; y < height; ++y) {
        const int64_t stored = topDown ? y : height - 1 - y;
        DecodeRow(rows + static_cast<std::size_t>(stored) * rowBytes, bitCount, palette,
                  &image.Pixels[static_cast<std::size_t>(y * width)], static_cast<int>(width));
    }
    image_ = std::move(image);
    bitCount_ = bitCount;
}

void TBitmap::LoadFromMemory(const uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const uint8_t* magic = in.Take(2);
    if (magic[0] != 'B' || magic[1] != 'M') {
        Invalid();
    }
    in.U32(); // file size
    in.U32(); // reserved words
    const uint32_t offset = in.U32();
    const std::size_t header = in.Position();
    if (offset < header || offset > size) {
        Invalid();
    }
    TDIB dib;
    dib.LoadFromMemory(data + header, size - header, offset - header);
    dib_ = std::move(dib);
}

TPicture::TPicture(const TPicture& other) : graphic_(other.graphic_ ? other.graphic_->Clone() : nullptr) {}

TPicture& TPicture::operator=(const TPicture& other) {
    if (this != &other) {
        graphic_ = other.graphic_ ? other.graphic_->Clone() : nullptr;
    }
    return *this;
}

void TPicture::LoadFromStoredData(const uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const uint8_t length = in.U8();
    const uint8_t* name = in.Take(length);
    std::string className(reinterpret_cast<const char*>(name), length);
    if (className == "TDIB") {
        auto dib = std::make_unique<TDIB>();
        dib->LoadFromMemory(data + in.Position(), size - in.Position());
        graphic_ = std::move(dib);
    } else if (className == "TBitmap") {
        const uint32_t count = in.U32();
        const uint8_t* file = in.Take(count);
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromMemory(file, count);
        graphic_ = std::move(bitmap);
    } else {
        throw Exception("Unknown picture format " + className);
    }
}
