#include "game/WindowIcon.h"

#include <iterator>

namespace {
// Generated at build time from assets/icons/vorkalith-64.rgba.
constexpr uint8_t kPixels[] = {
#include "WindowIconPixels.inc"
};
static_assert(sizeof kPixels == WindowIcon::kSize * WindowIcon::kSize * 4, "icon of the wrong size");
} // namespace

std::vector<uint8_t> WindowIcon::Pixels() {
    return std::vector<uint8_t>(std::begin(kPixels), std::end(kPixels));
}
