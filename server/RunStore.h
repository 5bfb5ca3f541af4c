#pragma once

#include "server/RunRecord.h"
#include "server/SqlConnection.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The runs in the database, SQLite or PostgreSQL alike: uploads, the queue the workers take them
// from under a lease, verdicts, and the boards. Every write is one transaction. One store is one
// connection, for one thread at a time.
class RunStore {
public:
    // Connects to `database` (a postgresql:// or postgres:// URL, or an SQLite file) and brings
    // its schema up to date. Raises SqlError.
    static std::unique_ptr<RunStore> Open(const std::string& database);
    // Whether `database` names PostgreSQL rather than an SQLite file.
    static bool IsPostgres(const std::string& database);

    explicit RunStore(std::unique_ptr<SqlConnection> connection);

    // Stores an upload as queued; returns its id.
    int64_t Add(const NewRun& run);
    std::optional<RunRecord> Find(int64_t id);
    // The demo as uploaded; nothing for an unknown id.
    std::optional<std::string> Demo(int64_t id);
    // The best verified runs, one per name (a player's best), by best score, then level, then the
    // earlier upload. An unnamed run stands for itself.
    std::vector<RunRecord> Board(const BoardQuery& query);

    // Takes the oldest queued run whose lease is free or ran out, leased to `owner` until
    // `untilMs`; nothing when none is waiting.
    std::optional<LeasedRun> Lease(const std::string& owner, int64_t nowMs, int64_t untilMs);
    // Stores the verdict on a run leased to `owner`; false (nothing stored) when the lease was
    // lost to another worker or the run was decided already.
    bool Decide(int64_t id, const std::string& owner, const Verdict& verdict, int64_t nowMs);
    // How many runs are queued (leased or not).
    int64_t Queued();

    SqlConnection& Connection() { return *connection_; }

private:
    std::unique_ptr<SqlConnection> connection_;
};
