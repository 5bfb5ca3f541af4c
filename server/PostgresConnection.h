#pragma once

#include "server/SqlConnection.h"

#include <map>
#include <string>

struct pg_conn;

// A connection to PostgreSQL through libpq. Each statement is prepared once on the connection
// under a name of its own; `?` placeholders become $1, $2, ... in order. Values go as text, bytes
// as binary parameters; results come back as text, bytea decoded to its bytes.
class PostgresConnection : public SqlConnection {
public:
    // Connects with a connection string or URL (postgresql://...). Raises SqlError.
    explicit PostgresConnection(const std::string& url);
    ~PostgresConnection() override;

    SqlDialect Dialect() const override { return SqlDialect::Postgres; }
    std::vector<SqlRow> Run(const std::string& sql, const std::vector<SqlValue>& parameters) override;
    void Script(const std::string& sql) override;
    void BeginWrite() override { Script("BEGIN"); }

    // `sql` with its `?` placeholders numbered as PostgreSQL writes them.
    static std::string Numbered(const std::string& sql);

private:
    const std::string& Prepared(const std::string& sql);

    pg_conn* connection_ = nullptr;
    std::map<std::string, std::string> names_; // statement text to its prepared name
};
