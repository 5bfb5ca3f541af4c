#include "server/Migrations.h"

#include <chrono>
#include <span>
#include <string>

namespace {

// One step of the schema in both dialects. Steps are only ever added at the end.
struct Step {
    int Number;
    const char* Sqlite;
    const char* Postgres;
};

// The runs with their verdicts; the demos apart, so that reading the boards never reads a demo.
constexpr Step kSteps[] = {
    {1,
     R"(CREATE TABLE runs (
            id INTEGER PRIMARY KEY AUTOINCREMENT,
            name TEXT,
            claimed_score INTEGER,
            client TEXT NOT NULL,
            uploaded_at INTEGER NOT NULL,
            status TEXT NOT NULL DEFAULT 'queued',
            reason TEXT NOT NULL DEFAULT '',
            lease_owner TEXT,
            lease_until INTEGER,
            attempts INTEGER NOT NULL DEFAULT 0,
            run_number INTEGER, first_frame INTEGER, last_frame INTEGER,
            best_score INTEGER, score INTEGER, level INTEGER, orbs INTEGER,
            ended TEXT, installed_levels INTEGER, daily TEXT, decided_at INTEGER);
        CREATE TABLE demos (run_id INTEGER PRIMARY KEY REFERENCES runs(id), bytes BLOB NOT NULL);
        CREATE INDEX runs_queue ON runs (status, id);
        CREATE INDEX runs_board ON runs (status, best_score DESC, level DESC, id);
        CREATE INDEX runs_daily ON runs (daily, best_score DESC, level DESC, id);)",
     R"(CREATE TABLE runs (
            id BIGSERIAL PRIMARY KEY,
            name TEXT,
            claimed_score BIGINT,
            client TEXT NOT NULL,
            uploaded_at BIGINT NOT NULL,
            status TEXT NOT NULL DEFAULT 'queued',
            reason TEXT NOT NULL DEFAULT '',
            lease_owner TEXT,
            lease_until BIGINT,
            attempts INTEGER NOT NULL DEFAULT 0,
            run_number BIGINT, first_frame BIGINT, last_frame BIGINT,
            best_score BIGINT, score BIGINT, level BIGINT, orbs BIGINT,
            ended TEXT, installed_levels INTEGER, daily TEXT, decided_at BIGINT);
        CREATE TABLE demos (run_id BIGINT PRIMARY KEY REFERENCES runs(id), bytes BYTEA NOT NULL);
        CREATE INDEX runs_queue ON runs (status, id);
        CREATE INDEX runs_board ON runs (status, best_score DESC, level DESC, id);
        CREATE INDEX runs_daily ON runs (daily, best_score DESC, level DESC, id);)"},
};

// The key of the lock that servers starting together on one PostgreSQL take in turn.
constexpr int64_t kMigrationLock = 0x566b4d6967;

} // namespace

int Migrations::Latest() {
    return std::span(kSteps).back().Number;
}

int Migrations::Apply(SqlConnection& connection) {
    const bool postgres = connection.Dialect() == SqlDialect::Postgres;
    WriteTransaction transaction(connection);
    if (postgres) {
        connection.Run("SELECT pg_advisory_xact_lock(?::bigint)", {kMigrationLock});
    }
    connection.Script("CREATE TABLE IF NOT EXISTS schema_migrations (version INTEGER PRIMARY KEY, "
                      "applied_at BIGINT NOT NULL)");
    const std::vector<SqlRow> rows = connection.Run("SELECT COALESCE(MAX(version), 0) FROM schema_migrations");
    const int current = static_cast<int>(rows.at(0).Int(0));
    if (current > Latest()) {
        throw SqlError("the database's schema is number " + std::to_string(current) + ", newer than this program's " +
                       std::to_string(Latest()));
    }
    for (const Step& step : kSteps) {
        if (step.Number <= current) {
            continue;
        }
        connection.Script(postgres ? step.Postgres : step.Sqlite);
        connection.Run("INSERT INTO schema_migrations (version, applied_at) VALUES (?, ?)",
                       {int64_t{step.Number}, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::system_clock::now().time_since_epoch())
                                                  .count()});
    }
    transaction.Commit();
    return Latest();
}
