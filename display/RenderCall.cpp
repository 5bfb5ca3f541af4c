#include "display/RenderCall.h"

#include "display/DXRender.h"

namespace dxrender {

namespace {

// Off only in tests and benchmarks that hold the fast paths to the general loops.
bool fastPaths = true;

// Source positions are 16.16 fixed point in 32 bits, so a source rectangle must end before 32768.
constexpr int32_t MaxSourceEnd = 32767;

} // namespace

bool FastPaths() {
    return fastPaths;
}

void UseFastPaths(bool on) {
    fastPaths = on;
}

bool CanDraw(const platform::Surface* dest, const platform::Surface* source, const TRect& s) {
    if (dest == nullptr || source == nullptr || dest->Width() <= 0 || dest->Height() <= 0 || source->Width() <= 0 ||
        source->Height() <= 0) {
        return false;
    }
    if (!Supported(dest->Format()) || !Supported(source->Format())) {
        return false;
    }
    return s.Left >= 0 && s.Top >= 0 && s.Right <= source->Width() && s.Bottom <= source->Height() &&
           s.Left < s.Right && s.Top < s.Bottom && s.Right <= MaxSourceEnd && s.Bottom <= MaxSourceEnd;
}

} // namespace dxrender
