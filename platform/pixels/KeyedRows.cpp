#include "platform/pixels/KeyedRows.h"

#include "platform/pixels/CopyBytes.h"
#include "platform/pixels/OpaqueRuns.h"
#include "platform/pixels/PixelAccess.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform::keyed {

namespace {

uint8_t* RowOf(Rows r, int y) {
    return r.bits + static_cast<std::ptrdiff_t>(y) * r.pitch;
}
const uint8_t* RowOf(ConstRows r, int y) {
    return r.bits + static_cast<std::ptrdiff_t>(y) * r.pitch;
}

template <int Bpp> void ReferenceRows(Rows d, ConstRows s, int w, int h, uint32_t key) {
    for (int y = 0; y < h; ++y) {
        uint8_t* dr = RowOf(d, y);
        const uint8_t* sr = RowOf(s, y);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = Px<Bpp>::Get(sr + x * Bpp);
            if (v != key) {
                Px<Bpp>::Set(dr + x * Bpp, v);
            }
        }
    }
}

// Reads both pixels and writes one of them back: no branch, so the compiler may vectorise it.
template <int Bpp> void SelectRow(uint8_t* dr, const uint8_t* sr, int from, int w, uint32_t key) {
    for (int x = from; x < w; ++x) {
        const uint32_t v = Px<Bpp>::Get(sr + x * Bpp);
        const uint32_t u = Px<Bpp>::Get(dr + x * Bpp);
        Px<Bpp>::Set(dr + x * Bpp, v != key ? v : u);
    }
}

template <int Bpp> void SelectRows(Rows d, ConstRows s, int w, int h, uint32_t key) {
    for (int y = 0; y < h; ++y) {
        SelectRow<Bpp>(RowOf(d, y), RowOf(s, y), 0, w, key);
    }
}

#ifdef __SSE2__
inline __m128i Select8(const uint8_t* dp, const uint8_t* sp, __m128i key) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp));
    const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dp));
    const __m128i isKey = _mm_cmpeq_epi16(v, key);
    return _mm_or_si128(_mm_and_si128(isKey, u), _mm_andnot_si128(isKey, v));
}

// Eight pixels at a time; a row that does not end on a multiple of eight ends with a block that
// overlaps the one before it, which is harmless because selecting twice gives the same pixels. That
// block is read before the row is written: read after, it would wait for the store it overlaps.
void SelectRows16(Rows d, ConstRows s, int w, int h, uint32_t key) {
    if (w < 8) {
        SelectRows<2>(d, s, w, h, key);
        return;
    }
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    const int last = (w - 8) * 2;
    for (int y = 0; y < h; ++y) {
        uint8_t* dr = RowOf(d, y);
        const uint8_t* sr = RowOf(s, y);
        const __m128i tail = Select8(dr + last, sr + last, k);
        int x = 0;
        for (; x + 16 <= w * 2; x += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dr + x), Select8(dr + x, sr + x, k));
        }
        if (x < w * 2) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dr + last), tail);
        }
    }
}
#endif

template <int Bpp> void RunRows(Rows d, ConstRows source, const OpaqueRuns& runs, int left, int top, int w, int h) {
    const int right = left + w;
    uint8_t* dr = d.bits;
    const uint8_t* sr = RowOf(source, top);
    // The whole width of the picture, as a sprite's copy is: every run is copied as it is.
    if (left == 0 && w == runs.Width()) {
        if (const std::span<const OpaqueRuns::Run> singles = runs.SingleRuns(); !singles.empty()) {
            for (int y = 0; y < h; ++y, dr += d.pitch, sr += source.pitch) {
                const OpaqueRuns::Run r = singles[static_cast<std::size_t>(top + y)];
                CopyBytes(dr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                          sr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                          static_cast<std::size_t>(r.End - r.Begin) * Bpp);
            }
            return;
        }
        for (int y = 0; y < h; ++y, dr += d.pitch, sr += source.pitch) {
            for (const OpaqueRuns::Run& r : runs.Row(top + y)) {
                CopyBytes(dr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                          sr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                          static_cast<std::size_t>(r.End - r.Begin) * Bpp);
            }
        }
        return;
    }
    for (int y = 0; y < h; ++y, dr += d.pitch, sr += source.pitch) {
        const std::span<const OpaqueRuns::Run> row = runs.Row(top + y);
        // The first run that ends after the left edge.
        auto it = row.begin();
        if (left > 0) {
            it = std::upper_bound(row.begin(), row.end(), left,
                                  [](int x, const OpaqueRuns::Run& r) { return x < r.End; });
        }
        for (; it != row.end() && it->Begin < right; ++it) {
            const int b = std::max(it->Begin, left);
            const int e = std::min(it->End, right);
            CopyBytes(dr + static_cast<std::ptrdiff_t>(b - left) * Bpp, sr + static_cast<std::ptrdiff_t>(b) * Bpp,
                      static_cast<std::size_t>(e - b) * Bpp);
        }
    }
}

#ifdef VK_COPY_AVX
// The whole-width run copy again, compiled for processors with AVX: runs of 32 to 64 bytes take two
// 32-byte moves instead of four 16-byte ones. Chosen once per copy where the processor has AVX; the
// result is the same bytes.
template <int Bpp>
__attribute__((target("avx"))) void WholeRunsAvx(Rows d, ConstRows source, const OpaqueRuns& runs, int top, int h) {
    uint8_t* dr = d.bits;
    const uint8_t* sr = RowOf(source, top);
    if (const std::span<const OpaqueRuns::Run> singles = runs.SingleRuns(); !singles.empty()) {
        for (int y = 0; y < h; ++y, dr += d.pitch, sr += source.pitch) {
            const OpaqueRuns::Run r = singles[static_cast<std::size_t>(top + y)];
            CopyBytesAvx(dr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                         sr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                         static_cast<std::size_t>(r.End - r.Begin) * Bpp);
        }
        return;
    }
    for (int y = 0; y < h; ++y, dr += d.pitch, sr += source.pitch) {
        for (const OpaqueRuns::Run& r : runs.Row(top + y)) {
            CopyBytesAvx(dr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                         sr + static_cast<std::ptrdiff_t>(r.Begin) * Bpp,
                         static_cast<std::size_t>(r.End - r.Begin) * Bpp);
        }
    }
}
#endif

} // namespace

void CopyRunsPortable(int bpp, Rows d, ConstRows source, const OpaqueRuns& runs, int left, int top, int w, int h) {
    WithPixelSize(bpp, [&](auto size) { RunRows<decltype(size)::value>(d, source, runs, left, top, w, h); });
}

void CopyReference(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key) {
    WithPixelSize(bpp, [&](auto size) { ReferenceRows<decltype(size)::value>(d, s, w, h, key); });
}

void CopySelectScalar(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key) {
    WithPixelSize(bpp, [&](auto size) { SelectRows<decltype(size)::value>(d, s, w, h, key); });
}

void CopySelect(int bpp, Rows d, ConstRows s, int w, int h, uint32_t key) {
#ifdef __SSE2__
    if (bpp == 2) {
        return SelectRows16(d, s, w, h, key);
    }
#endif
    CopySelectScalar(bpp, d, s, w, h, key);
}

void CopyRuns(int bpp, Rows d, ConstRows source, const OpaqueRuns& runs, int left, int top, int w, int h) {
#ifdef VK_COPY_AVX
    if (left == 0 && w == runs.Width() && HasAvx()) {
        return WithPixelSize(bpp, [&](auto size) { WholeRunsAvx<decltype(size)::value>(d, source, runs, top, h); });
    }
#endif
    CopyRunsPortable(bpp, d, source, runs, left, top, w, h);
}

} // namespace platform::keyed
