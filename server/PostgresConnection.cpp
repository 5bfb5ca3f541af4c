#include "server/PostgresConnection.h"

#include <libpq-fe.h>

#include <memory>

namespace {

struct ResultClear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

std::string ErrorOf(pg_conn* connection, const PGresult* result) {
    std::string message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

// The text of a bytea column in PostgreSQL's hex output ("\x0a1b...") as its bytes.
std::string Unescaped(const char* text) {
    std::size_t size = 0;
    unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
    if (!bytes) {
        throw SqlError("cannot decode a bytea column");
    }
    std::string data(reinterpret_cast<const char*>(bytes), size);
    PQfreemem(bytes);
    return data;
}

// The type of bytea in PostgreSQL's catalogue.
constexpr Oid kByteaOid = 17;

} // namespace

PostgresConnection::PostgresConnection(const std::string& url) : connection_(PQconnectdb(url.c_str())) {
    if (PQstatus(connection_) != CONNECTION_OK) {
        const std::string message = ErrorOf(connection_, nullptr);
        PQfinish(connection_);
        connection_ = nullptr;
        throw SqlError("cannot connect to the database: " + message);
    }
    // Notices (a table that already exists) are no concern of the log.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
}

PostgresConnection::~PostgresConnection() {
    PQfinish(connection_);
}

std::string PostgresConnection::Numbered(const std::string& sql) {
    std::string numbered;
    int next = 1;
    for (const char c : sql) {
        if (c == '?') {
            numbered.push_back('$');
            numbered.append(std::to_string(next++));
        } else {
            numbered += c;
        }
    }
    return numbered;
}

const std::string& PostgresConnection::Prepared(const std::string& sql) {
    auto found = names_.find(sql);
    if (found != names_.end()) {
        return found->second;
    }
    const std::string name = "vk" + std::to_string(names_.size() + 1);
    const Result result(PQprepare(connection_, name.c_str(), Numbered(sql).c_str(), 0, nullptr));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        throw SqlError("cannot prepare a statement: " + ErrorOf(connection_, result.get()));
    }
    return names_.emplace(sql, name).first->second;
}

std::vector<SqlRow> PostgresConnection::Run(const std::string& sql, const std::vector<SqlValue>& parameters) {
    // A connection lost (the database restarted) is made again; its prepared statements are gone.
    if (PQstatus(connection_) == CONNECTION_BAD) {
        PQreset(connection_);
        names_.clear();
    }
    const std::string& name = Prepared(sql);
    std::vector<std::string> texts(parameters.size());
    std::vector<const char*> values(parameters.size(), nullptr);
    std::vector<int> lengths(parameters.size(), 0);
    std::vector<int> formats(parameters.size(), 0);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (const auto* number = std::get_if<int64_t>(&parameters[i])) {
            texts[i] = std::to_string(*number);
            values[i] = texts[i].c_str();
        } else if (const auto* text = std::get_if<std::string>(&parameters[i])) {
            values[i] = text->c_str();
        } else if (const auto* bytes = std::get_if<SqlBytes>(&parameters[i])) {
            values[i] = bytes->Data.data();
            lengths[i] = static_cast<int>(bytes->Data.size());
            formats[i] = 1;
        }
    }
    const Result result(PQexecPrepared(connection_, name.c_str(), static_cast<int>(parameters.size()), values.data(),
                                       lengths.data(), formats.data(), 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        throw SqlError(ErrorOf(connection_, result.get()));
    }
    std::vector<SqlRow> rows;
    const int count = PQntuples(result.get());
    const int width = PQnfields(result.get());
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        std::vector<std::optional<std::string>> columns;
        columns.reserve(width);
        for (int c = 0; c < width; ++c) {
            if (PQgetisnull(result.get(), r, c)) {
                columns.emplace_back();
            } else if (PQftype(result.get(), c) == kByteaOid) {
                columns.emplace_back(Unescaped(PQgetvalue(result.get(), r, c)));
            } else {
                columns.emplace_back(std::string(PQgetvalue(result.get(), r, c),
                                                 static_cast<std::size_t>(PQgetlength(result.get(), r, c))));
            }
        }
        rows.emplace_back(std::move(columns));
    }
    return rows;
}

void PostgresConnection::Script(const std::string& sql) {
    const Result result(PQexec(connection_, sql.c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw SqlError(ErrorOf(connection_, result.get()));
    }
}
