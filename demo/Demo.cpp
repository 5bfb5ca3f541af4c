#include "demo/Demo.h"

#include "game/PlayerInterface.h"

std::unique_ptr<PlayerInterface> MakePlayerInterface(const std::optional<DemoDaily>& daily) {
    return std::make_unique<PlayerInterface>(daily ? DailyChallenge::FormatDate(daily->Date) : std::string());
}

bool DemoDaily::operator==(const DemoDaily& other) const {
    return Date == other.Date &&
           DailyChallenge::MillisecondsOf(StartedAt) == DailyChallenge::MillisecondsOf(other.StartedAt);
}

bool Demo::operator==(const Demo& other) const {
    return Version == other.Version && Utc.Hours == other.Utc.Hours && Utc.Minutes == other.Utc.Minutes &&
           Utc.Seconds == other.Utc.Seconds && Utc.Milliseconds == other.Utc.Milliseconds && Daily == other.Daily &&
           Interface == other.Interface && Clock == other.Clock && Foreground == other.Foreground &&
           Arguments == other.Arguments && Levels == other.Levels && Frames == other.Frames;
}

uint64_t Demo::FrameCount() const {
    return Frames.FrameCount();
}
