#include "platform/sdl/PresentCounter.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {
long long EpochMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
} // namespace

PresentCounter::PresentCounter() {
    const char* report = std::getenv("VORKALITH_FRAME_REPORT");
    on_ = report != nullptr && std::strcmp(report, "1") == 0;
}

void PresentCounter::Presented() {
    if (!on_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (count_++ == 0) {
        std::fprintf(stderr, "first-frame %lld\n", EpochMillis());
        nextReport_ = now + std::chrono::seconds(1);
    } else if (now >= nextReport_) {
        std::fprintf(stderr, "frames %llu %lld\n", static_cast<unsigned long long>(count_), EpochMillis());
        nextReport_ += std::chrono::seconds(1);
    }
}

} // namespace platform
