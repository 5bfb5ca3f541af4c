#pragma once

#include "server/SqlConnection.h"

#include <map>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// A connection to an SQLite database in one file, in write-ahead-log mode so that readers go on
// while one writer writes; a writer waits for another instead of failing at once. Its statements
// are prepared once and kept.
class SqliteConnection : public SqlConnection {
public:
    // Opens (creating) the database file. Raises SqlError naming the file.
    explicit SqliteConnection(const std::string& path);
    ~SqliteConnection() override;

    SqlDialect Dialect() const override { return SqlDialect::Sqlite; }
    std::vector<SqlRow> Run(const std::string& sql, const std::vector<SqlValue>& parameters) override;
    void Script(const std::string& sql) override;
    void BeginWrite() override { Script("BEGIN IMMEDIATE"); }

private:
    struct StatementCloser {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

    sqlite3_stmt* Prepared(const std::string& sql);
    [[noreturn]] void Fail(const std::string& what) const;

    sqlite3* db_ = nullptr;
    std::map<std::string, Statement> statements_;
};
