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
    // Rows of one run each are copied from one table of runs, with no loop over runs; a picture whose
    // every row is one run across its whole width has no key pixels and is copied as a plain one.
    bool opaque = height > 0;
    for (std::size_t y = 0; y + 1 < rowStart_.size(); ++y) {
        const uint32_t n = rowStart_[y + 1] - rowStart_[y];
        if (n > 1) {
            singles_.clear();
            return;
        }
        const Run run = n == 1 ? runs_[rowStart_[y]] : Run{0, 0};
        opaque = opaque && run.Begin == 0 && run.End == width;
        singles_.push_back(run);
    }
    opaque_ = opaque;
}

void OpaqueRuns::Clear() {
    rowStart_.clear();
    runs_.clear();
    singles_.clear();
    width_ = 0;
    worthwhile_ = false;
    opaque_ = false;
}

} // namespace platform
