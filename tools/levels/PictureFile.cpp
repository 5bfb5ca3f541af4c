#include "tools/levels/PictureFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace levels {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& data) : data_(data) {}

    void Need(size_t count) const {
        if (pos_ + count > data_.size()) {
            throw PictureError("picture data ends early");
        }
    }
    uint32_t U32() {
        Need(4);
        uint32_t v = data_[pos_] | data_[pos_ + 1] << 8 | data_[pos_ + 2] << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    uint16_t U16() {
        Need(2);
        uint16_t v = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint8_t U8() {
        Need(1);
        return data_[pos_++];
    }
    void Skip(size_t count) {
        Need(count);
        pos_ += count;
    }
    size_t Pos() const { return pos_; }
    const uint8_t* At(size_t pos) const { return data_.data() + pos; }

private:
    const std::vector<uint8_t>& data_;
    size_t pos_ = 0;
};

} // namespace

PictureInfo ReadPictureBlock(const std::vector<uint8_t>& block) {
    Reader in(block);
    PictureInfo info;
    uint8_t nameLength = in.U8();
    in.Need(nameLength);
    info.ClassName.assign(reinterpret_cast<const char*>(in.At(in.Pos())), nameLength);
    in.Skip(nameLength);
    if (info.ClassName == "TBitmap") {
        uint32_t count = in.U32();
        in.Need(count);
        if (in.U8() != 'B' || in.U8() != 'M') {
            throw PictureError("bitmap without BM signature");
        }
        in.Skip(12);
    } else if (info.ClassName != "TDIB") {
        throw PictureError("unknown picture class '" + info.ClassName + "'");
    }
    if (in.U32() != 40) {
        throw PictureError("DIB is invalid");
    }
    int width = static_cast<int32_t>(in.U32());
    int height = static_cast<int32_t>(in.U32());
    in.U16(); // planes
    info.BitsPerPixel = in.U16();
    uint32_t compression = in.U32();
    in.Skip(12);
    uint32_t coloursUsed = in.U32();
    in.U32();
    if (compression != 0 || (info.BitsPerPixel != 8 && info.BitsPerPixel != 24) || width <= 0 || height == 0 ||
        width > 8192 || height > 8192 || height < -8192) {
        throw PictureError("unsupported picture layout");
    }
    bool bottomUp = height > 0;
    height = bottomUp ? height : -height;
    std::vector<uint8_t> palette;
    if (info.BitsPerPixel == 8) {
        size_t entries = coloursUsed == 0 ? 256 : std::min<uint32_t>(coloursUsed, 256);
        in.Need(entries * 4);
        palette.assign(in.At(in.Pos()), in.At(in.Pos()) + entries * 4);
        palette.resize(256 * 4, 0);
        in.Skip(entries * 4);
    }
    size_t rowSize = (static_cast<size_t>(width) * info.BitsPerPixel / 8 + 3) & ~size_t(3);
    in.Need(rowSize * height);
    info.Pixels = Image(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = in.At(in.Pos() + rowSize * (bottomUp ? height - 1 - y : y));
        for (int x = 0; x < width; ++x) {
            uint8_t* out = info.Pixels.Pixel(x, y);
            const uint8_t* bgr = info.BitsPerPixel == 24 ? row + 3 * x : palette.data() + 4 * row[x];
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    }
    return info;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw PictureError("cannot open " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

PictureInfo ReadPictureFile(const std::string& path) {
    try {
        return ReadPictureBlock(ReadFileBytes(path));
    } catch (const PictureError& e) {
        throw PictureError(path + ": " + e.what());
    }
}

uint16_t Rgb565(const uint8_t* rgb) {
    return static_cast<uint16_t>((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3);
}

} // namespace levels
