#pragma once

#include "platform/inputmap/GamepadMapper.h"

#include <array>
#include <vector>

namespace platform {

// A game controller as a browser reports one in its standard layout: whether it is connected,
// its 17 buttons held or not, and its two sticks' axes from -1 to 1 (positive right or down).
struct StandardPadState {
    static constexpr int kButtons = 17;
    static constexpr int kAxes = 4;
    bool Connected = false;
    std::array<bool, kButtons> Buttons{};
    std::array<double, kAxes> Axes{};
};

// The events that take controller `pad` from `before` to `now`, in the mapper's terms: Added or
// Removed when it comes or goes, then each changed button and axis the mapper knows. A state
// read as it is sampled, with no events of its own, so reading it again changes nothing.
std::vector<PadEvent> StandardPadEvents(int pad, const StandardPadState& before, const StandardPadState& now);

} // namespace platform
