#pragma once

#include "platform/base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A compressed stream that is damaged, cut short, or does not inflate to the size asked for.
class EInflateError : public Exception {
public:
    explicit EInflateError(const std::string& message) : Exception("Inflate error: " + message) {}
};

// Inflates a whole zlib stream (deflate data with its two-byte head and Adler-32 check) into
// exactly `outSize` bytes at `out`. Every read of the input and every copy inside the output is
// bounds-checked: a damaged stream, one that would write past `outSize`, one that ends short of
// it, a wrong checksum or bytes after the checksum throw EInflateError, and nothing outside the
// two buffers is ever read or written. On error the contents of `out` are unspecified.
void InflateInto(const uint8_t* data, std::size_t size, uint8_t* out, std::size_t outSize);

// The same into a new buffer of `outSize` bytes.
std::vector<uint8_t> Inflate(const uint8_t* data, std::size_t size, std::size_t outSize);

// Adler-32 of `size` bytes, continued from `adler` (1 for a new sum).
uint32_t Adler32(const uint8_t* data, std::size_t size, uint32_t adler = 1);

} // namespace platform
