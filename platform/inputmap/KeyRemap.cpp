#include "platform/inputmap/KeyRemap.h"

#include <algorithm>

namespace platform {

namespace {
constexpr uint8_t kHeld = 0x80;

bool Valid(int key) {
    return key > 0 && key < static_cast<int>(std::tuple_size_v<KeyState>);
}
} // namespace

void KeyRemap::Bind(int target, std::vector<int> keys) {
    if (!Valid(target)) {
        return;
    }
    keys.erase(std::remove_if(keys.begin(), keys.end(), [](int key) { return !Valid(key); }), keys.end());
    const auto same =
        std::find_if(bindings_.begin(), bindings_.end(), [&](const auto& b) { return b.first == target; });
    if (same != bindings_.end()) {
        same->second = std::move(keys);
    } else {
        bindings_.emplace_back(target, std::move(keys));
    }
}

void KeyRemap::Apply(KeyState& keys) const {
    if (bindings_.empty()) {
        return;
    }
    const KeyState held = keys;
    for (const auto& [target, sources] : bindings_) {
        keys[static_cast<std::size_t>(target)] = 0;
        for (int source : sources) {
            keys[static_cast<std::size_t>(source)] = 0;
        }
    }
    for (const auto& [target, sources] : bindings_) {
        for (int source : sources) {
            if ((held[static_cast<std::size_t>(source)] & kHeld) != 0) {
                keys[static_cast<std::size_t>(target)] = kHeld;
            }
        }
    }
}

} // namespace platform
