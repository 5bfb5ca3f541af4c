#pragma once

#include <stdexcept>
#include <string>

// Base of every error the run-time and the library raise; carries one message text.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// The run-time list's range error: "List index out of bounds (%d)".
class EListError : public Exception {
public:
    explicit EListError(long index);
};

// Input-output error of the run-time's file routines, with its error code.
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, const std::string& message) : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

// Fills the single %s or %d of a message template.
std::string FormatMessage(const std::string& format, const std::string& value);
std::string FormatMessage(const std::string& format, long value);
