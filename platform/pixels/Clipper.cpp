#include "platform/pixels/Clipper.h"

#include "platform/pixels/Surface.h"

#include <algorithm>

namespace platform {

void Clipper::SetClipList(std::vector<TRect> rects) {
    rects_ = std::move(rects);
    hasList_ = true;
    windowBound_ = false;
}

void Clipper::SetWindowBound() {
    rects_.clear();
    hasList_ = false;
    windowBound_ = true;
}

Result Clipper::ClipRects(const Surface& target, std::vector<TRect>& out) const {
    out.clear();
    TRect full{0, 0, target.Width(), target.Height()};
    if (windowBound_) {
        out.push_back(full);
        return Result::Ok;
    }
    if (!hasList_) {
        return Result::NoClipList;
    }
    for (const TRect& r : rects_) {
        TRect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, full.Right),
                std::min(r.Bottom, full.Bottom)};
        if (!c.IsEmpty()) {
            out.push_back(c);
        }
    }
    return Result::Ok;
}

} // namespace platform
