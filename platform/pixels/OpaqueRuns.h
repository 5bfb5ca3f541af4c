#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

// The runs of pixels of a picture that differ from its colour key, row by row, so that a keyed
// copy moves whole runs and never looks at a key pixel. They are built from the picture's pixels
// as they are at one moment: the owner rebuilds them whenever its pixels or key may have changed.
class OpaqueRuns {
public:
    // A run of columns [Begin, End) in one row.
    struct Run {
        int32_t Begin;
        int32_t End;
    };

    // Scans a picture of width x height pixels of bpp bytes, rows pitch bytes apart.
    void Build(const uint8_t* bits, int pitch, int width, int height, int bpp, uint32_t key);
    void Clear();

    bool Empty() const { return rowStart_.empty(); }
    // The width of the picture the runs were built from.
    int Width() const { return width_; }
    // The runs of row y, left to right.
    std::span<const Run> Row(int y) const {
        return {runs_.data() + rowStart_[static_cast<std::size_t>(y)],
                runs_.data() + rowStart_[static_cast<std::size_t>(y) + 1]};
    }
    // True when runs are long enough on average that copying them beats a select over every pixel.
    bool Worthwhile() const { return worthwhile_; }
    // One run for every row ({0, 0} for a row of key pixels only) when no row has more than one, as
    // in a picture without holes; empty otherwise.
    std::span<const Run> SingleRuns() const { return singles_; }
    // True when no pixel is the key: a keyed copy is then a plain one.
    bool Opaque() const { return opaque_; }

private:
    std::vector<uint32_t> rowStart_;
    std::vector<Run> runs_;
    std::vector<Run> singles_;
    int width_ = 0;
    bool worthwhile_ = false;
    bool opaque_ = false;
};

} // namespace platform
