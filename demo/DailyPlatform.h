#pragma once

#include "demo/Demo.h"
#include "demo/ForwardingPlatform.h"

// The platform of a daily session: the game is given the seed of the session's UTC date as its
// time of day; everything else is the inner platform's.
class DailyPlatform : public ForwardingPlatform {
public:
    // A daily session started now, on today's UTC date.
    explicit DailyPlatform(platform::Platform& inner) : ForwardingPlatform(inner) {
        daily_.Date = DailyChallenge::Today(daily_.StartedAt);
        seed_ = DailyChallenge::SeedOf(daily_.Date);
    }

    platform::TimeOfDay UtcTimeOfDay() override { return seed_; }
    // The date and the real time of day the session started at, as its demo keeps them.
    const DemoDaily& Daily() const { return daily_; }

private:
    DemoDaily daily_;
    platform::TimeOfDay seed_;
};
