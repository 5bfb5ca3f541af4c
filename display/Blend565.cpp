#include "display/Blend565.h"

#include "platform/pixels/PixelAccess.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace dxrender {

using platform::Px;

void Blend565RowScalar(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key) {
    for (int i = 0; i < n; ++i) {
        const uint32_t p = Px<2>::Get(src + 2 * i);
        const uint32_t q = Px<2>::Get(dst + 2 * i);
        const uint32_t v = Blend565(p, q, a);
        Px<2>::Set(dst + 2 * i, keyed && p == key ? q : v);
    }
}

void Blend565Row(const uint8_t* src, uint8_t* dst, int n, uint32_t a, bool keyed, uint32_t key) {
    int i = 0;
#ifdef __SSE2__
    // Eight pixels at once, each channel in a 16-bit lane: every product and sum stays below 65536,
    // so the lanes hold the exact values of the scalar rule.
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vna = _mm_set1_epi16(static_cast<short>(255 - a));
    const __m128i vnb = _mm_set1_epi16(static_cast<short>(256 - a));
    const __m128i m5 = _mm_set1_epi16(0xF8);
    const __m128i m6 = _mm_set1_epi16(0xFC);
    const __m128i vkey = _mm_set1_epi16(static_cast<short>(key));
    for (; i + 8 <= n; i += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + 2 * i));
        const __m128i sr = _mm_and_si128(_mm_srli_epi16(s, 8), m5), dr = _mm_and_si128(_mm_srli_epi16(d, 8), m5);
        const __m128i sg = _mm_and_si128(_mm_srli_epi16(s, 3), m6), dg = _mm_and_si128(_mm_srli_epi16(d, 3), m6);
        const __m128i sb = _mm_and_si128(_mm_slli_epi16(s, 3), m5), db = _mm_and_si128(_mm_slli_epi16(d, 3), m5);
        const __m128i r = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(sr, va), _mm_mullo_epi16(dr, vna)), 8);
        const __m128i g = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(sg, va), _mm_mullo_epi16(dg, vna)), 8);
        const __m128i b = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(sb, va), _mm_mullo_epi16(db, vnb)), 8);
        __m128i out = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(r, m5), 8),
                                   _mm_or_si128(_mm_slli_epi16(_mm_and_si128(g, m6), 3), _mm_srli_epi16(b, 3)));
        if (keyed) {
            const __m128i isKey = _mm_cmpeq_epi16(s, vkey);
            out = _mm_or_si128(_mm_and_si128(isKey, d), _mm_andnot_si128(isKey, out));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * i), out);
    }
#endif
    Blend565RowScalar(src + 2 * i, dst + 2 * i, n - i, a, keyed, key);
}

} // namespace dxrender
