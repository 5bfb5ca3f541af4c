#pragma once

#include <stdexcept>
#include <string>
#include <utility>

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

// Input-output error of the run-time's file routines, with its error code and, when known, the
// file it is about.
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, const std::string& message, std::string fileName = {})
        : Exception(message), ErrorCode(errorCode), FileName(std::move(fileName)) {}
    int ErrorCode;
    std::string FileName;
};

// The text that reports `error` to the user: its message, after the name of the file it is
// about where it names one.
std::string ErrorReport(const std::exception& error);

// Fills the single %s or %d of a message template.
std::string FormatMessage(const std::string& format, const std::string& value);
std::string FormatMessage(const std::string& format, long value);
