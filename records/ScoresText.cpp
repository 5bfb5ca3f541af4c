#include "records/ScoresText.h"

#include "platform/base/ControlEscape.h"

#include <nlohmann/json.hpp>

namespace {

// A field of the file, which the player may have edited: no tab or line break of it may split the line.
std::string Field(const std::string& text) {
    return platform::EscapeControls(text);
}

} // namespace

std::string ScoresText::PlayTime(uint64_t milliseconds) {
    const uint64_t seconds = milliseconds / 1000;
    const uint64_t s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

std::string ScoresText::Tsv(const std::vector<RunRecord>& table) {
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const RunRecord& r = table[i];
        text += std::to_string(i + 1) + '\t' + std::to_string(r.BestScore) + '\t' + std::to_string(r.Level) + '\t' +
                std::to_string(r.OrbsEaten) + '\t' + PlayTime(r.PlayMs) + '\t' + Field(r.LocalTime) + '\t' +
                Field(r.Ended) + '\t' + (r.Daily.empty() ? std::string("-") : Field(r.Daily)) + '\t' + Field(r.Demo) +
                '\t' + std::to_string(r.FirstFrame) + '\t' + std::to_string(r.LastFrame) + '\n';
    }
    return text;
}

std::string ScoresText::Json(const std::vector<RunRecord>& table) {
    nlohmann::json runs = nlohmann::json::array();
    for (std::size_t i = 0; i < table.size(); ++i) {
        nlohmann::json run = table[i].Json();
        run["Rank"] = i + 1;
        runs.push_back(std::move(run));
    }
    // Bytes of the file that are not UTF-8 are replaced rather than refused.
    return nlohmann::json{{"Runs", runs}}.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
