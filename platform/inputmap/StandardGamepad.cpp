#include "platform/inputmap/StandardGamepad.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
// The standard layout's buttons that the mapper knows, by their index.
constexpr std::array<std::pair<int, PadEvent::Control>, 9> kButtons{{
    {0, PadEvent::ButtonA},
    {1, PadEvent::ButtonB},
    {3, PadEvent::ButtonY},
    {8, PadEvent::ButtonBack},
    {9, PadEvent::ButtonStart},
    {12, PadEvent::DpadUp},
    {13, PadEvent::DpadDown},
    {14, PadEvent::DpadLeft},
    {15, PadEvent::DpadRight},
}};
constexpr std::array<PadEvent::Control, StandardPadState::kAxes> kAxes{PadEvent::LeftX, PadEvent::LeftY,
                                                                       PadEvent::RightX, PadEvent::RightY};

// An axis from -1..1 in the mapper's -32768..32767; anything else (NaN included) is at rest.
int AxisValue(double axis) {
    if (!(axis >= -1.0 && axis <= 1.0)) {
        return axis > 1.0 ? 32767 : axis < -1.0 ? -32768 : 0;
    }
    return std::clamp(static_cast<int>(std::lround(axis * 32767.0)), -32768, 32767);
}
} // namespace

std::vector<PadEvent> StandardPadEvents(int pad, const StandardPadState& before, const StandardPadState& now) {
    std::vector<PadEvent> events;
    if (!now.Connected) {
        if (before.Connected) {
            events.push_back(PadEvent{PadEvent::Type::Removed, pad});
        }
        return events;
    }
    // A pad that comes is compared with one at rest.
    const StandardPadState rest{true, {}, {}};
    const StandardPadState& from = before.Connected ? before : rest;
    if (!before.Connected) {
        events.push_back(PadEvent{PadEvent::Type::Added, pad});
    }
    for (const auto& [index, control] : kButtons) {
        const auto i = static_cast<std::size_t>(index);
        if (now.Buttons[i] != from.Buttons[i]) {
            events.push_back(PadEvent{PadEvent::Type::Button, pad, control, now.Buttons[i]});
        }
    }
    for (std::size_t i = 0; i < kAxes.size(); ++i) {
        const int value = AxisValue(now.Axes[i]);
        if (value != AxisValue(from.Axes[i])) {
            events.push_back(PadEvent{PadEvent::Type::Axis, pad, kAxes[i], false, value});
        }
    }
    return events;
}

} // namespace platform
