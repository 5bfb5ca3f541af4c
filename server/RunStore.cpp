#include "server/RunStore.h"

#include "server/Migrations.h"
#include "server/PostgresConnection.h"
#include "server/SqliteConnection.h"

namespace {

// The columns of a run as RecordOf reads them.
constexpr const char* kRunColumns = "id, name, claimed_score, uploaded_at, status, reason, run_number, first_frame, "
                                    "last_frame, best_score, score, level, orbs, ended, installed_levels, daily";

SqlValue Optional(const std::optional<int64_t>& value) {
    return value ? SqlValue(*value) : SqlValue();
}
SqlValue Optional(const std::optional<std::string>& value) {
    return value ? SqlValue(*value) : SqlValue();
}

RunRecord RecordOf(const SqlRow& row) {
    RunRecord record;
    record.Id = row.Int(0);
    record.Name = row.OptionalText(1);
    record.ClaimedScore = row.OptionalInt(2);
    record.UploadedMs = row.Int(3);
    record.Status = row.Text(4);
    record.Reason = row.Text(5);
    if (!row.IsNull(6)) {
        RunResult result;
        result.RunNumber = row.Int(6);
        result.FirstFrame = row.Int(7);
        result.LastFrame = row.Int(8);
        result.BestScore = row.Int(9);
        result.Score = row.Int(10);
        result.Level = row.Int(11);
        result.Orbs = row.Int(12);
        result.Ended = row.Text(13);
        result.InstalledLevels = row.Int(14) != 0;
        result.Daily = row.OptionalText(15);
        record.Result = result;
    }
    return record;
}

} // namespace

bool RunStore::IsPostgres(const std::string& database) {
    return database.starts_with("postgresql://") || database.starts_with("postgres://");
}

std::unique_ptr<RunStore> RunStore::Open(const std::string& database) {
    std::unique_ptr<SqlConnection> connection;
    if (IsPostgres(database)) {
        connection = std::make_unique<PostgresConnection>(database);
    } else {
        connection = std::make_unique<SqliteConnection>(database);
    }
    Migrations::Apply(*connection);
    return std::make_unique<RunStore>(std::move(connection));
}

RunStore::RunStore(std::unique_ptr<SqlConnection> connection) : connection_(std::move(connection)) {}

int64_t RunStore::Add(const NewRun& run) {
    WriteTransaction transaction(*connection_);
    const std::vector<SqlRow> rows =
        connection_->Run("INSERT INTO runs (name, claimed_score, client, uploaded_at) VALUES (?, ?, ?, ?) RETURNING id",
                         {Optional(run.Name), Optional(run.ClaimedScore), run.Client, run.UploadedMs});
    const int64_t id = rows.at(0).Int(0);
    connection_->Run("INSERT INTO demos (run_id, bytes) VALUES (?, ?)", {id, SqlBytes{run.Demo}});
    transaction.Commit();
    return id;
}

std::optional<RunRecord> RunStore::Find(int64_t id) {
    const std::vector<SqlRow> rows =
        connection_->Run(std::string("SELECT ") + kRunColumns + " FROM runs WHERE id = ?", {id});
    if (rows.empty()) {
        return std::nullopt;
    }
    return RecordOf(rows.front());
}

std::optional<std::string> RunStore::Demo(int64_t id) {
    const std::vector<SqlRow> rows = connection_->Run("SELECT bytes FROM demos WHERE run_id = ?", {id});
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows.front().Text(0);
}

std::vector<RunRecord> RunStore::Board(const BoardQuery& query) {
    // Each name's best run, then the best of those. Unnamed runs share the null name; the id in
    // the second key keeps each of them apart.
    const std::string sql = std::string("SELECT ") + kRunColumns +
                            " FROM (SELECT *, ROW_NUMBER() OVER (PARTITION BY name, CASE WHEN name IS NULL THEN id "
                            "ELSE 0 END ORDER BY best_score DESC, level DESC, id) AS place FROM runs "
                            "WHERE status = 'verified'" +
                            (query.DailyDate ? " AND daily = ?" : "") +
                            ") AS best WHERE place = 1 ORDER BY best_score DESC, level DESC, id LIMIT ?";
    std::vector<SqlValue> parameters;
    if (query.DailyDate) {
        parameters.emplace_back(*query.DailyDate);
    }
    parameters.emplace_back(query.Limit);
    std::vector<RunRecord> board;
    for (const SqlRow& row : connection_->Run(sql, parameters)) {
        board.push_back(RecordOf(row));
    }
    return board;
}

std::optional<LeasedRun> RunStore::Lease(const std::string& owner, int64_t nowMs, int64_t untilMs) {
    // PostgreSQL lets workers pass over rows another worker is taking; SQLite has one writer at a
    // time, which the write transaction waits for.
    const std::string skipLocked = connection_->Dialect() == SqlDialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
    WriteTransaction transaction(*connection_);
    const std::vector<SqlRow> taken = connection_->Run(
        "UPDATE runs SET lease_owner = ?, lease_until = ?, attempts = attempts + 1 WHERE id = (SELECT id FROM runs "
        "WHERE status = 'queued' AND (lease_until IS NULL OR lease_until < ?) ORDER BY id LIMIT 1" +
            skipLocked + ") RETURNING id, claimed_score, attempts",
        {owner, untilMs, nowMs});
    if (taken.empty()) {
        transaction.Commit();
        return std::nullopt;
    }
    LeasedRun run;
    run.Id = taken.front().Int(0);
    run.ClaimedScore = taken.front().OptionalInt(1);
    run.Attempts = taken.front().Int(2);
    const std::vector<SqlRow> demo = connection_->Run("SELECT bytes FROM demos WHERE run_id = ?", {run.Id});
    run.Demo = demo.empty() ? std::string() : demo.front().Text(0);
    transaction.Commit();
    return run;
}

bool RunStore::Decide(int64_t id, const std::string& owner, const Verdict& verdict, int64_t nowMs) {
    const RunResult none;
    const RunResult& r = verdict.Entry ? *verdict.Entry : none;
    const bool known = verdict.Entry.has_value();
    auto number = [known](int64_t value) { return known ? SqlValue(value) : SqlValue(); };
    WriteTransaction transaction(*connection_);
    const std::vector<SqlRow> decided = connection_->Run(
        "UPDATE runs SET status = ?, reason = ?, run_number = ?, first_frame = ?, last_frame = ?, best_score = ?, "
        "score = ?, level = ?, orbs = ?, ended = ?, installed_levels = ?, daily = ?, decided_at = ?, "
        "lease_owner = NULL, lease_until = NULL WHERE id = ? AND lease_owner = ? AND status = 'queued' RETURNING id",
        {std::string(verdict.Verified ? "verified" : "rejected"), verdict.Reason, number(r.RunNumber),
         number(r.FirstFrame), number(r.LastFrame), number(r.BestScore), number(r.Score), number(r.Level),
         number(r.Orbs), known ? SqlValue(r.Ended) : SqlValue(), number(r.InstalledLevels ? 1 : 0),
         known ? Optional(r.Daily) : SqlValue(), nowMs, id, owner});
    transaction.Commit();
    return !decided.empty();
}

int64_t RunStore::Queued() {
    return connection_->Run("SELECT COUNT(*) FROM runs WHERE status = 'queued'").at(0).Int(0);
}
