#include "platform/base/Exception.h"

namespace {
std::string Replace(const std::string& format, const char* marker, const std::string& value) {
    auto at = format.find(marker);
    if (at == std::string::npos) {
        return format;
    }
    return format.substr(0, at) + value + format.substr(at + 2);
}
} // namespace

EListError::EListError(long index) : Exception(FormatMessage("List index out of bounds (%d)", index)) {}

std::string FormatMessage(const std::string& format, const std::string& value) {
    return Replace(format, "%s", value);
}

std::string FormatMessage(const std::string& format, long value) {
    return Replace(format, "%d", std::to_string(value));
}

std::string ErrorReport(const std::exception& error) {
    if (const auto* io = dynamic_cast<const EInOutError*>(&error); io != nullptr && !io->FileName.empty()) {
        return io->FileName + ": " + error.what();
    }
    return error.what();
}
