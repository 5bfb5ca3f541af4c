#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// A value bound to a statement's parameter: null, a whole number, text, or bytes.
struct SqlBytes {
    std::string Data;
};
using SqlValue = std::variant<std::monostate, int64_t, std::string, SqlBytes>;

// A database's failure, with its own message.
class SqlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One row of a result, each column read as text (null as nothing) and converted on demand.
class SqlRow {
public:
    explicit SqlRow(std::vector<std::optional<std::string>> columns) : columns_(std::move(columns)) {}
    bool IsNull(std::size_t column) const { return !columns_.at(column); }
    const std::string& Text(std::size_t column) const;
    int64_t Int(std::size_t column) const;
    std::optional<int64_t> OptionalInt(std::size_t column) const;
    std::optional<std::string> OptionalText(std::size_t column) const { return columns_.at(column); }

private:
    std::vector<std::optional<std::string>> columns_;
};

// The SQL dialects the store speaks.
enum class SqlDialect { Sqlite, Postgres };

// A connection to a database that runs prepared statements only: the statement's text is fixed
// in the program, every value from outside is a bound parameter. Placeholders are written `?`
// and numbered in order by the connection where its database wants numbers.
class SqlConnection {
public:
    virtual ~SqlConnection() = default;
    virtual SqlDialect Dialect() const = 0;
    // Runs one statement with its parameters and returns its rows. Raises SqlError.
    virtual std::vector<SqlRow> Run(const std::string& sql, const std::vector<SqlValue>& parameters = {}) = 0;
    // Runs statements without parameters or results (a migration's schema). Raises SqlError.
    virtual void Script(const std::string& sql) = 0;
    // Starts a transaction that takes the write lock at once, so that two writers never both
    // read the same queue row and one of them fails later.
    virtual void BeginWrite() = 0;
    void Commit() { Script("COMMIT"); }
    void Rollback() { Script("ROLLBACK"); }
};

// A write transaction: committed by Commit, rolled back when left otherwise (an exception).
class WriteTransaction {
public:
    explicit WriteTransaction(SqlConnection& connection) : connection_(connection) { connection_.BeginWrite(); }
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit();

private:
    SqlConnection& connection_;
    bool done_ = false;
};
