#include "app/edit/KeyEdges.h"

void KeyEdges::Update(const platform::KeyState& keys) {
    before_ = now_;
    now_ = keys;
    for (std::size_t code = 0; code < now_.size(); ++code) {
        heldFrames_[code] = Held(static_cast<int>(code)) ? heldFrames_[code] + 1 : 0;
    }
}

void KeyEdges::Prime(const platform::KeyState& keys) {
    now_ = keys;
    before_ = keys;
    for (std::size_t code = 0; code < now_.size(); ++code) {
        // Held keys count as held for long, but never repeat before they are let go.
        heldFrames_[code] = Held(static_cast<int>(code)) ? -1000000 : 0;
    }
}

bool KeyEdges::Repeated(int code) const {
    if (Pressed(code)) {
        return true;
    }
    const int frames = heldFrames_[code];
    return frames > kRepeatDelay && (frames - kRepeatDelay) % kRepeatEvery == 0;
}
