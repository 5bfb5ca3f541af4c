#include "display/DXDrawDisplay.h"

#include "display/DirectDraw.h"
#include "display/DirectXErrors.h"

#include <algorithm>
#include <climits>

void TDXDrawDisplay::SetWidth(int32_t value) {
    width_ = std::max(value, 0);
}

void TDXDrawDisplay::SetHeight(int32_t value) {
    height_ = std::max(value, 0);
}

void TDXDrawDisplay::SetBitCount(int32_t value) {
    if (value != 8 && value != 16 && value != 24 && value != 32) {
        throw EDirectDrawError(SBitCountInvalid);
    }
    bitCount_ = value;
}

const std::vector<TDXDrawDisplayMode>& TDXDrawDisplay::Modes(TDirectDraw& directDraw) {
    if (!modes_.empty()) {
        return modes_;
    }
    for (const platform::DisplayMode& m : directDraw.Device().EnumDisplayModes()) {
        modes_.push_back(TDXDrawDisplayMode{m.Width, m.Height, m.BitCount});
    }
    std::sort(modes_.begin(), modes_.end(), [](const TDXDrawDisplayMode& a, const TDXDrawDisplayMode& b) {
        if (a.Width != b.Width) {
            return a.Width < b.Width;
        }
        if (a.Height != b.Height) {
            return a.Height < b.Height;
        }
        return a.BitCount < b.BitCount;
    });
    return modes_;
}

bool TDXDrawDisplay::TrySet(TDirectDraw& directDraw, int32_t w, int32_t h, int32_t bits) {
    if (directDraw.Device().SetDisplayMode(w, h, bits) != platform::Result::Ok) {
        return false;
    }
    width_ = w;
    height_ = h;
    bitCount_ = bits;
    return true;
}

bool TDXDrawDisplay::SetDisplayMode(TDirectDraw& directDraw) {
    const int32_t w = width_, h = height_, b = bitCount_;
    if (w <= 0 || h <= 0 || (b != 8 && b != 16 && b != 24 && b != 32)) {
        return false;
    }
    if (TrySet(directDraw, w, h, b)) {
        return true;
    }
    if (FixedRatio && Search(directDraw, true)) {
        return true;
    }
    return Search(directDraw, false);
}

bool TDXDrawDisplay::Search(TDirectDraw& directDraw, bool ratio) {
    const int32_t w = width_, h = height_, b = bitCount_;
    const auto& modes = Modes(directDraw);
    TDXDrawDisplayMode best{INT_MAX, INT_MAX, b};
    bool found = false;
    const long double wanted = static_cast<long double>(w) / h;
    for (const TDXDrawDisplayMode& m : modes) {
        if (m.Width > best.Width || m.Height > best.Height) {
            continue;
        }
        if (ratio && static_cast<long double>(m.Width) / m.Height != wanted) {
            continue;
        }
        if (FixedSize ? (m.Width != w || m.Height != h) : (m.Width < w || m.Height < h)) {
            continue;
        }
        if (FixedBitCount ? m.BitCount != b : ((m.BitCount <= 8 || b <= 8) && m.BitCount < b)) {
            continue;
        }
        best = m;
        found = true;
    }
    if (!found) {
        return false;
    }
    if (best.BitCount != b &&
        std::find(modes.begin(), modes.end(), TDXDrawDisplayMode{best.Width, best.Height, b}) != modes.end()) {
        best.BitCount = b;
    }
    return TrySet(directDraw, best.Width, best.Height, best.BitCount);
}
