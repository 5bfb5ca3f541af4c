#pragma once

#include "demo/ForwardingPlatform.h"
#include "platform/inputmap/KeyRemap.h"

// The keyboard as the player's settings bind it: the inner platform's keys remapped before the game
// reads them, so that a recording above it writes down the keys as the game read them and replays
// the same with any settings.
class RemappingPlatform : public ForwardingPlatform {
public:
    RemappingPlatform(platform::Platform& inner, platform::KeyRemap remap)
        : ForwardingPlatform(inner), remap_(std::move(remap)) {}

    void GetKeyState(platform::KeyState& keys) override {
        inner_.GetKeyState(keys);
        remap_.Apply(keys);
    }

    // The keys held as bound and as themselves: what the screens outside the game read, so that a
    // key bound away still works there.
    void GetEveryKey(platform::KeyState& keys) {
        inner_.GetKeyState(keys);
        platform::KeyState bound = keys;
        remap_.Apply(bound);
        for (std::size_t code = 0; code < keys.size(); ++code) {
            keys[code] |= bound[code];
        }
    }

private:
    platform::KeyRemap remap_;
};
