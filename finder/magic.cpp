#include "finder/magic.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::size_t NextCandidate(const std::uint8_t* p, std::size_t from, std::size_t to) {
  std::size_t j = from;
#if defined(__SSE2__)
  const __m128i b = _mm_set1_epi8('B');
  const __m128i m = _mm_set1_epi8('M');
  for (; j + 32 <= to; j += 32) {
    const auto* q = reinterpret_cast<const __m128i*>(p + j);
    const auto* r = reinterpret_cast<const __m128i*>(p + j + 1);
    const __m128i lo = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(q), b), _mm_cmpeq_epi8(_mm_loadu_si128(r), m));
    const __m128i hi =
        _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(q + 1), b), _mm_cmpeq_epi8(_mm_loadu_si128(r + 1), m));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(lo)) |
                          (static_cast<unsigned>(_mm_movemask_epi8(hi)) << 16);
    if (mask != 0) return j + static_cast<std::size_t>(__builtin_ctz(mask));
  }
#endif
  for (; j < to; ++j) {
    if (p[j] == 'B' && p[j + 1] == 'M') return j;
  }
  return to;
}

