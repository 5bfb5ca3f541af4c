#pragma once

#include "platform/app/Platform.h"

#include <cstdint>

// Cooperative-level flags of an input device.
enum : uint32_t {
    clExclusive = 0x01,
    clNonExclusive = 0x02,
    clForeground = 0x04,
    clBackground = 0x08,
};

enum class TDeviceReadResult { Ok, NotAcquired, InputLost };

// The system keyboard as a device: delivers the platform's 256-byte key snapshot, indexed by
// key code, once acquired. A foreground device cannot be acquired while the window is behind
// another one, and loses its acquisition when that happens.
class TKeyboardDevice {
public:
    explicit TKeyboardDevice(platform::Platform& platform) : platform_(platform) {}

    void SetCooperativeLevel(uint32_t flags) { cooperativeLevel_ = flags; }
    // The flags of the last SetCooperativeLevel; 0 before the first.
    uint32_t CooperativeLevel() const { return cooperativeLevel_; }

    bool Acquire();
    void Unacquire() { acquired_ = false; }
    bool Acquired() const { return acquired_; }

    // Reads the snapshot into `keys`; leaves it untouched when the read fails.
    TDeviceReadResult GetDeviceState(platform::KeyState& keys);

private:
    bool Blocked() const { return (cooperativeLevel_ & clForeground) != 0 && !platform_.IsForeground(); }

    platform::Platform& platform_;
    uint32_t cooperativeLevel_ = 0;
    bool acquired_ = false;
};
