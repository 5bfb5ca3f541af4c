#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace platform {

class Surface;

// What the surfaces of one display device share: the list of live surfaces (so that the
// device can take them all away at once), the video memory they occupy, and the hooks
// through which the device shows its screen surface and decides whether a restore may succeed.
class SurfaceRegistry {
public:
    void Add(Surface* surface) { live_.push_back(surface); }
    void Remove(Surface* surface);
    void LoseAll();
    std::size_t Count() const { return live_.size(); }

    std::size_t VideoMemoryBudget = 64u << 20;
    std::size_t VideoMemoryUsed = 0;
    std::function<bool()> CanRestore = [] { return true; };
    std::function<void(const Surface&)> PrimaryChanged;

private:
    std::vector<Surface*> live_;
};

} // namespace platform
