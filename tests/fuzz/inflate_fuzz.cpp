// Deflated data: the first three bytes give the size to inflate to (up to 1 MB, little-endian),
// the rest is the zlib stream. Whatever the stream holds, the inflater either fills exactly
// that many bytes or raises its error; it never reads or writes outside the two buffers.
#include "platform/files/Inflate.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::size_t outSize = (data[0] | data[1] << 8 | data[2] << 16) & 0xfffff;
    try {
        platform::Inflate(data + 3, size - 3, outSize);
    } catch (const platform::EInflateError&) {
    }
    return 0;
}
