#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>

// One run as the records keep it: what it reached and where it lies in which session demo, so that
// it can be watched from its start.
struct RunRecord {
    int32_t BestScore = 0;   // the highest score it reached
    int32_t Score = 0;       // its score at its end (a lost game ends below zero)
    int Level = 1;           // the highest level played
    uint32_t OrbsEaten = 0;  // on all its levels
    uint64_t PlayMs = 0;     // the game's clock from its first frame to its last, pauses left out
    int64_t StartedAt = 0;   // when it started, in milliseconds since 1970-01-01 UTC
    std::string LocalTime;   // the same as the player's clock showed it: "YYYY-MM-DD HH:MM:SS"
    std::string Demo;        // the session demo's file name in the runs folder
    uint64_t FirstFrame = 0; // its frames in the demo, counted from 1
    uint64_t LastFrame = 0;
    std::string Ended;      // how it ended, as --verify names it ("game-over", "esc", ...)
    std::string Daily;      // the date of a daily session's run ("YYYY-MM-DD"), else empty
    std::string FinalState; // the final-state line after its last frame

    // The same run of the same demo.
    bool SameRun(const RunRecord& other) const { return Demo == other.Demo && FirstFrame == other.FirstFrame; }

    // The table's order: the higher best score first, on a tie the higher level, then the earlier
    // run.
    static bool Before(const RunRecord& a, const RunRecord& b);

    nlohmann::json Json() const;
    // A record read back; nullopt when a field is missing, of the wrong type or out of range, or
    // when Demo is not a plain file name.
    static std::optional<RunRecord> FromJson(const nlohmann::json& value);
};
