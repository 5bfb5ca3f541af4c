#include "server/RunJson.h"

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

json Optional(const std::optional<std::string>& value) {
    return value ? json(*value) : json(nullptr);
}

json ResultOf(const RunResult& r) {
    return json{{"score", r.BestScore},      {"score_at_end", r.Score},
                {"level", r.Level},          {"orbs", r.Orbs},
                {"frames", r.Frames()},      {"first_frame", r.FirstFrame},
                {"last_frame", r.LastFrame}, {"run", r.RunNumber},
                {"ended", r.Ended},          {"installed_levels", r.InstalledLevels},
                {"daily", Optional(r.Daily)}};
}

} // namespace

json RunJson::Of(const RunRecord& run) {
    json body{{"id", run.Id},
              {"name", Optional(run.Name)},
              {"status", run.Status},
              {"reason", run.Reason},
              {"claimed_score", run.ClaimedScore ? json(*run.ClaimedScore) : json(nullptr)},
              {"uploaded_at", run.UploadedMs},
              {"demo", "/api/runs/" + std::to_string(run.Id) + "/demo"}};
    body["result"] = run.Result ? ResultOf(*run.Result) : json(nullptr);
    return body;
}

json RunJson::Board(const std::vector<RunRecord>& rows, const BoardQuery& query) {
    json list = json::array();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        json row = Of(rows[i]);
        row["place"] = i + 1;
        list.push_back(std::move(row));
    }
    return json{{"board", query.DailyDate ? "daily" : "all"}, {"date", Optional(query.DailyDate)}, {"runs", list}};
}
