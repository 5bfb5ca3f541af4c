#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The whole content of a regular file of at most `maxBytes` bytes, read as RegularFile reads (a
// FIFO, a device or a folder is refused at once). Nothing when it cannot be had, `error` then
// telling why: "cannot open: No such file or directory", "cannot open: not a regular file",
// "too large (more than N bytes)" or "cannot read: Input/output error".
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& error);

// The same from an open descriptor that may be a pipe or a terminal (standard input): read to
// its end, refused as soon as it holds more than `maxBytes` bytes.
std::optional<std::string> ReadWholeStream(int descriptor, std::size_t maxBytes, std::string& error);

} // namespace platform
