#include "platform/pixels/SurfaceRegistry.h"

#include "platform/pixels/Surface.h"

#include <algorithm>

namespace platform {

void SurfaceRegistry::Remove(Surface* surface) {
    auto it = std::find(live_.begin(), live_.end(), surface);
    if (it != live_.end()) {
        live_.erase(it);
    }
}

void SurfaceRegistry::LoseAll() {
    for (Surface* s : live_) {
        s->MarkLost();
    }
}

} // namespace platform
