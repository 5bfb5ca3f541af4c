#include "server/BoardRequest.h"

#include "game/DailyChallenge.h"

#include <charconv>

bool BoardRequest::Parse(const std::string& board, const std::string& date, const std::string& limit, BoardQuery& query,
                         std::string& error) {
    query = BoardQuery{};
    if (board == "daily") {
        if (date.empty()) {
            query.DailyDate = Today();
        } else if (const std::optional<UtcDate> day = DailyChallenge::ParseDate(date)) {
            query.DailyDate = DailyChallenge::FormatDate(*day);
        } else {
            error = "date must be a date written YYYY-MM-DD";
            return false;
        }
    } else if (!board.empty() && board != "all") {
        error = "board must be all or daily";
        return false;
    }
    if (!limit.empty()) {
        int64_t number = 0;
        const auto [end, failure] = std::from_chars(limit.data(), limit.data() + limit.size(), number);
        if (failure != std::errc() || end != limit.data() + limit.size() || number < 1 || number > kMaxLimit) {
            error = "limit must be a whole number from 1 to " + std::to_string(kMaxLimit);
            return false;
        }
        query.Limit = number;
    }
    return true;
}

std::string BoardRequest::Today() {
    platform::TimeOfDay time{};
    return DailyChallenge::FormatDate(DailyChallenge::Today(time));
}
