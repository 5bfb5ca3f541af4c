#include "platform/pixels/OpaqueRuns.h"

#include "platform/pixels/PixelAccess.h"

namespace platform {

namespace {

// Appends the runs of one row of w pixels.
template <int Bpp> void ScanRow(const uint8_t* row, int w, uint32_t key, std::vector<OpaqueRuns::Run>& out) {
    int x = 0;
    while (x < w) {
        while (x < w && Px<Bpp>::Get(row + x * Bpp) == key) {
            ++x;
        }
        const int begin = x;
        while (x < w && Px<Bpp>::Get(row + x * Bpp) != key) {
            ++x;
        }
        if (x > begin) {
            out.push_back({begin, x});
        }
    }
}

template <int Bpp>
void ScanRows(const uint8_t* bits, int pitch, int w, int h, uint32_t key, std::vector<uint32_t>& rowStart,
              std::vector<OpaqueRuns::Run>& runs) {
    for (int y = 0; y < h; ++y) {
        rowStart.push_back(static_cast<uint32_t>(runs.size()));
        ScanRow<Bpp>(bits + static_cast<std::ptrdiff_t>(y) * pitch, w, key, runs);
    }
    rowStart.push_back(static_cast<uint32_t>(runs.size()));
}

} // namespace

void OpaqueRuns::Build(const uint8_t* bits, int pitch, int width, int height, int bpp, uint32_t key) {
    Clear();
    width_ = width;
    rowStart_.reserve(static_cast<std::size_t>(height) + 1);
    WithPixelSize(
        bpp, [&](auto size) { ScanRows<decltype(size)::value>(bits, pitch, width, height, key, rowStart_, runs_); });
    // A run costs about as much as eight pixels of select; shorter runs on average (dithered or
    // speckled pictures) are better left to the select.
    worthwhile_ = runs_.size() * 8 <= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

void OpaqueRuns::Clear() {
    rowStart_.clear();
    runs_.clear();
    width_ = 0;
    worthwhile_ = false;
}

} // namespace platform
