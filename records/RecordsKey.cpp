#include "records/RecordsKey.h"

#include "game/MainForm.h"

namespace {
constexpr std::size_t kKeyR = 19;
constexpr uint8_t kMenu = 0;
} // namespace

bool RecordsKey::Opens(const platform::KeyState& keys, const TForm1& form) {
    const bool pressed = (keys[kKeyR] & 0x80) != 0;
    const bool opens = pressed && !held_ && form.World.GameState == kMenu;
    held_ = pressed;
    return opens;
}
