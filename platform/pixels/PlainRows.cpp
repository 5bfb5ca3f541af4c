#include "platform/pixels/PlainRows.h"

#include "platform/pixels/CopyBytes.h"

namespace platform {

namespace {

#ifdef VK_COPY_AVX
__attribute__((target("avx"))) void PlainRowsAvx(uint8_t* d, int dPitch, const uint8_t* s, int sPitch, std::size_t n,
                                                 int h) {
    for (int y = 0; y < h; ++y, d += dPitch, s += sPitch) {
        CopyBytesAvx(d, s, n);
    }
}
#endif

} // namespace

void CopyPlainRowsPortable(uint8_t* d, int dPitch, const uint8_t* s, int sPitch, std::size_t n, int h) {
    for (int y = 0; y < h; ++y, d += dPitch, s += sPitch) {
        CopyBytes(d, s, n);
    }
}

void CopyPlainRows(uint8_t* d, int dPitch, const uint8_t* s, int sPitch, std::size_t n, int h) {
#ifdef VK_COPY_AVX
    if (n >= 32 && n <= 64 && HasAvx()) {
        return PlainRowsAvx(d, dPitch, s, sPitch, n, h);
    }
#endif
    CopyPlainRowsPortable(d, dPitch, s, sPitch, n, h);
}

} // namespace platform
