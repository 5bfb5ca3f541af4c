#include "records/RunRecord.h"

#include <nlohmann/json.hpp>

#include <tuple>
#include <utility>

namespace {

using nlohmann::json;

// The field as an integer of type T; false when it is missing, not an integer or out of T's range.
template <class T> bool Read(const json& object, const char* key, T& into) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) {
        return false;
    }
    if (it->is_number_unsigned()) {
        const auto value = it->get<uint64_t>();
        if (!std::in_range<T>(value)) {
            return false;
        }
        into = static_cast<T>(value);
        return true;
    }
    const auto value = it->get<int64_t>();
    if (!std::in_range<T>(value)) {
        return false;
    }
    into = static_cast<T>(value);
    return true;
}

bool Read(const json& object, const char* key, std::string& into) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return false;
    }
    into = it->get<std::string>();
    return true;
}

// A file name in the runs folder and nothing else: no folder, no parent, no hidden file.
bool PlainName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name.find('/') == std::string::npos && name.front() != '.' &&
           name.find('\0') == std::string::npos;
}

} // namespace

bool RunRecord::Before(const RunRecord& a, const RunRecord& b) {
    // Higher first for score and level, earlier first for the start; the demo and its frame make
    // the order total, so that every copy of the table sorts alike.
    return std::tie(b.BestScore, b.Level, a.StartedAt, a.Demo, a.FirstFrame) <
           std::tie(a.BestScore, a.Level, b.StartedAt, b.Demo, b.FirstFrame);
}

nlohmann::json RunRecord::Json() const {
    json value = {
        {"BestScore", BestScore}, {"Score", Score},   {"Level", Level},
        {"OrbsEaten", OrbsEaten}, {"PlayMs", PlayMs}, {"StartedAt", StartedAt},
        {"LocalTime", LocalTime}, {"Demo", Demo},     {"FirstFrame", FirstFrame},
        {"LastFrame", LastFrame}, {"Ended", Ended},   {"Daily", Daily.empty() ? json(nullptr) : json(Daily)},
        {"Final", FinalState},
    };
    return value;
}

std::optional<RunRecord> RunRecord::FromJson(const nlohmann::json& value) {
    if (!value.is_object()) {
        return std::nullopt;
    }
    RunRecord r;
    const bool complete = Read(value, "BestScore", r.BestScore) && Read(value, "Score", r.Score) &&
                          Read(value, "Level", r.Level) && Read(value, "OrbsEaten", r.OrbsEaten) &&
                          Read(value, "PlayMs", r.PlayMs) && Read(value, "StartedAt", r.StartedAt) &&
                          Read(value, "LocalTime", r.LocalTime) && Read(value, "Demo", r.Demo) &&
                          Read(value, "FirstFrame", r.FirstFrame) && Read(value, "LastFrame", r.LastFrame) &&
                          Read(value, "Ended", r.Ended) && Read(value, "Final", r.FinalState);
    if (!complete || !PlainName(r.Demo) || r.FirstFrame == 0 || r.LastFrame < r.FirstFrame || r.Level < 1) {
        return std::nullopt;
    }
    if (const auto daily = value.find("Daily"); daily != value.end() && !daily->is_null()) {
        if (!daily->is_string()) {
            return std::nullopt;
        }
        r.Daily = daily->get<std::string>();
    }
    return r;
}
