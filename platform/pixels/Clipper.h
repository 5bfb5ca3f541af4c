#pragma once

#include "platform/base/Rect.h"
#include "platform/base/Result.h"

#include <vector>

namespace platform {

class Surface;

// Limits the copies into a surface: either to an explicit list of rectangles or to the
// visible part of the display window (the whole screen surface, since the window covers it).
class Clipper {
public:
    void SetClipList(std::vector<TRect> rects);
    void SetWindowBound();

    // The rectangles inside `target` that a copy may write; NoClipList when nothing is set.
    Result ClipRects(const Surface& target, std::vector<TRect>& out) const;

private:
    std::vector<TRect> rects_;
    bool hasList_ = false;
    bool windowBound_ = false;
};

} // namespace platform
