#pragma once

#include "server/RunRecord.h"

#include <optional>
#include <string>
#include <vector>

// The server's own page at /: the board as a table, a link to the other board, a "watch" link per
// row that plays the run in the web build served beside it, and a form to upload a demo. Plain
// HTML with a little script for the upload; every name is escaped.
class LeaderboardPage {
public:
    struct View {
        std::vector<RunRecord> Rows;
        std::optional<std::string> DailyDate; // the daily board of that date; the board of all runs when none
        std::string Today;                    // today's UTC date, for the link to the daily board
        bool CanWatch = false;                // the web build is served
    };

    static std::string Render(const View& view);
    // "m:ss" for a number of frames at 60 a second.
    static std::string PlayTime(int64_t frames);
};
