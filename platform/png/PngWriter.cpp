#include "platform/png/PngWriter.h"

#include "platform/base/ControlEscape.h"
#include "platform/files/AtomicFile.h"

#include <png.h>

namespace {
// The picture's pixels as packed rows of red, green and blue bytes, as libpng takes them.
std::vector<uint8_t> PackedRows(const platform::RgbImage& image) {
    std::vector<uint8_t> rows;
    rows.reserve(image.Pixels.size() * 3);
    for (const platform::Rgb& c : image.Pixels) {
        rows.insert(rows.end(), {c.r, c.g, c.b});
    }
    return rows;
}
} // namespace

std::vector<uint8_t> EncodePng(const platform::RgbImage& image) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height)) {
        return {};
    }
    const std::vector<uint8_t> rows = PackedRows(image);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGB;
    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rows.data(), 0, nullptr)) {
        png_image_free(&png);
        return {};
    }
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, rows.data(), 0, nullptr)) {
        png_image_free(&png);
        return {};
    }
    out.resize(size);
    return out;
}

bool WritePng(const std::string& path, const platform::RgbImage& image, std::string& error) {
    const std::vector<uint8_t> png = EncodePng(image);
    if (png.empty()) {
        error = platform::EscapeControls(path) + ": the picture cannot be encoded as PNG";
        return false;
    }
    error =
        platform::WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
    return error.empty();
}

bool WritePng(const std::string& path, const platform::RgbImage& image) {
    std::string error;
    return WritePng(path, image, error);
}
