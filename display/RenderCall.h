#pragma once

#include "display/RenderOp.h"

#include "platform/base/Rect.h"
#include "platform/pixels/Surface.h"

#include <cstdint>

// What every processor-drawn copy does around its pixel loop: the checks it shares, both surfaces
// locked for the call, and the loop run with the pixel operation chosen for the call.
namespace dxrender {

// True unless tests or benchmarks turned the fast paths off to hold them to the general loops.
bool FastPaths();

// Both surfaces of a call, locked whole: the destination first, then the source. They are unlocked
// in the opposite order when the call ends, however it ends.
class LockedPair {
public:
    LockedPair(platform::Surface& dest, platform::Surface& source) : dest_(dest), source_(source) {
        destLocked_ = platform::Succeeded(dest.Lock(nullptr, destView_));
        if (destLocked_) {
            sourceLocked_ = platform::Succeeded(source.Lock(nullptr, sourceView_));
        }
    }
    ~LockedPair() {
        if (sourceLocked_) {
            source_.Unlock();
        }
        if (destLocked_) {
            dest_.Unlock();
        }
    }
    LockedPair(const LockedPair&) = delete;
    LockedPair& operator=(const LockedPair&) = delete;

    bool Ok() const { return destLocked_ && sourceLocked_; }
    const platform::LockedView& Dest() const { return destView_; }
    const platform::LockedView& Source() const { return sourceView_; }

private:
    platform::Surface& dest_;
    platform::Surface& source_;
    platform::LockedView destView_;
    platform::LockedView sourceView_;
    bool destLocked_ = false;
    bool sourceLocked_ = false;
};

// The checks every copy shares: two non-empty surfaces in formats the loops handle, and a non-empty
// source rectangle inside the source surface.
bool CanDraw(const platform::Surface* dest, const platform::Surface* source, const TRect& s);

// Locks both surfaces and runs loop(op, job) with the pixel operation chosen for this call.
template <class Loop>
void Run(platform::Surface& dest, platform::Surface& source, bool transparent, bool blended, int32_t alpha,
         Loop&& loop) {
    LockedPair locks(dest, source);
    if (!locks.Ok()) {
        return;
    }
    const Job job = MakeJob(locks.Dest(), locks.Source(), source.ColorKey(), transparent, blended, alpha);
    WithPixelOp(job, [&](const auto& op) { loop(op, job); });
}

} // namespace dxrender
