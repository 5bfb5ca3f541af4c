#pragma once

#include <cstdint>

namespace platform {

// Result code of a display-layer call; 0 is success, every failure is a distinct negative value.
enum class Result : int32_t {
    Ok = 0,
    Generic = -1,
    InvalidParams = -2,
    InvalidRect = -3,
    SurfaceLost = -4,
    SurfaceBusy = -5,
    BltFastCantClip = -6,
    OutOfVideoMemory = -7,
    OutOfMemory = -8,
    UnsupportedMode = -9,
    NoClipList = -10,
    IncompatibleFormat = -11,
    CantCreateDC = -12,
    StillDrawing = -13,
};

inline bool Succeeded(Result r) {
    return r == Result::Ok;
}

} // namespace platform
