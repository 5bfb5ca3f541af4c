#include "server/SqliteConnection.h"

#include <sqlite3.h>

namespace {

// How long a writer waits for another's lock before its statement fails.
constexpr int kBusyWaitMs = 15000;

} // namespace

void SqliteConnection::StatementCloser::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteConnection::SqliteConnection(const std::string& path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqlError(path + ": " + reason);
    }
    sqlite3_busy_timeout(db_, kBusyWaitMs);
    sqlite3_extended_result_codes(db_, 1);
    Script("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON");
}

SqliteConnection::~SqliteConnection() {
    statements_.clear();
    sqlite3_close(db_);
}

void SqliteConnection::Fail(const std::string& what) const {
    throw SqlError(what + ": " + sqlite3_errmsg(db_));
}

sqlite3_stmt* SqliteConnection::Prepared(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) {
        return found->second.get();
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                           nullptr) != SQLITE_OK) {
        Fail("cannot prepare a statement");
    }
    return statements_.emplace(sql, Statement(statement)).first->second.get();
}

std::vector<SqlRow> SqliteConnection::Run(const std::string& sql, const std::vector<SqlValue>& parameters) {
    sqlite3_stmt* statement = Prepared(sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        int status = SQLITE_OK;
        if (const auto* number = std::get_if<int64_t>(&parameters[i])) {
            status = sqlite3_bind_int64(statement, index, *number);
        } else if (const auto* text = std::get_if<std::string>(&parameters[i])) {
            status = sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_STATIC, SQLITE_UTF8);
        } else if (const auto* bytes = std::get_if<SqlBytes>(&parameters[i])) {
            status = sqlite3_bind_blob64(statement, index, bytes->Data.data(), bytes->Data.size(), SQLITE_STATIC);
        } else {
            status = sqlite3_bind_null(statement, index);
        }
        if (status != SQLITE_OK) {
            Fail("cannot bind a parameter");
        }
    }
    std::vector<SqlRow> rows;
    for (;;) {
        const int status = sqlite3_step(statement);
        if (status == SQLITE_DONE) {
            break;
        }
        if (status != SQLITE_ROW) {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_reset(statement);
            throw SqlError(message);
        }
        const int count = sqlite3_column_count(statement);
        std::vector<std::optional<std::string>> columns;
        columns.reserve(count);
        for (int c = 0; c < count; ++c) {
            if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                columns.emplace_back();
                continue;
            }
            // Text or bytes alike: the pointer is taken first, then its length.
            const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, c));
            const int size = sqlite3_column_bytes(statement, c);
            columns.emplace_back(std::string(data ? data : "", static_cast<std::size_t>(size)));
        }
        rows.emplace_back(std::move(columns));
    }
    sqlite3_reset(statement);
    return rows;
}

void SqliteConnection::Script(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw SqlError(message);
    }
}
