#include "server/SqlConnection.h"

#include <charconv>

const std::string& SqlRow::Text(std::size_t column) const {
    const std::optional<std::string>& value = columns_.at(column);
    if (!value) {
        throw SqlError("column " + std::to_string(column) + " is null");
    }
    return *value;
}

int64_t SqlRow::Int(std::size_t column) const {
    const std::string& text = Text(column);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw SqlError("column " + std::to_string(column) + " is no whole number: " + text);
    }
    return value;
}

std::optional<int64_t> SqlRow::OptionalInt(std::size_t column) const {
    if (IsNull(column)) {
        return std::nullopt;
    }
    return Int(column);
}

WriteTransaction::~WriteTransaction() {
    if (!done_) {
        try {
            connection_.Rollback();
        } catch (const SqlError&) {
            // The connection failed with the statement that brought us here; the database drops
            // a transaction whose connection is gone.
        }
    }
}

void WriteTransaction::Commit() {
    connection_.Commit();
    done_ = true;
}
