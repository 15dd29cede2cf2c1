#include "finder/magic.h"

#include <cstdint>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZENPIKO_X86_SEARCH 1
#endif

namespace {

std::size_t Scalar(const std::uint8_t* p, std::size_t j, std::size_t to) {
  for (; j < to; ++j) {
    if (p[j] == 'B' && p[j + 1] == 'M') return j;
  }
  return to;
}

#if ZENPIKO_X86_SEARCH

// The pairs "BM" among the 16 positions from p + at: "B" at each, "M" right after it.
inline __m128i Pairs16(const std::uint8_t* p, std::size_t at) {
  const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
  const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + 1));
  return _mm_and_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8('B')), _mm_cmpeq_epi8(next, _mm_set1_epi8('M')));
}

// "BM" is rare in most files: 64 positions are tested together and only a hit is taken apart.
std::size_t Sse2(const std::uint8_t* p, std::size_t from, std::size_t to) {
  std::size_t j = from;
  for (; j + 64 <= to; j += 64) {
    const __m128i a0 = Pairs16(p, j), a1 = Pairs16(p, j + 16), a2 = Pairs16(p, j + 32), a3 = Pairs16(p, j + 48);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a0, a1), _mm_or_si128(a2, a3))) == 0) continue;
    const std::uint64_t mask = static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a0))) |
                               static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a1))) << 16 |
                               static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a2))) << 32 |
                               static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a3))) << 48;
    return j + static_cast<std::size_t>(__builtin_ctzll(mask));
  }
  return Scalar(p, j, to);
}

__attribute__((target("avx2"))) inline __m256i Pairs32(const std::uint8_t* p, std::size_t at) {
  const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at));
  const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at + 1));
  return _mm256_and_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8('B')), _mm256_cmpeq_epi8(next, _mm256_set1_epi8('M')));
}

// As above, 128 positions at a time; two loads a vector are cheaper than lining masks up.
__attribute__((target("avx2"))) std::size_t Avx2(const std::uint8_t* p, std::size_t from, std::size_t to) {
  std::size_t j = from;
  for (; j + 128 <= to; j += 128) {
    const __m256i a0 = Pairs32(p, j), a1 = Pairs32(p, j + 32), a2 = Pairs32(p, j + 64), a3 = Pairs32(p, j + 96);
    const __m256i any = _mm256_or_si256(_mm256_or_si256(a0, a1), _mm256_or_si256(a2, a3));
    if (_mm256_testz_si256(any, any)) continue;
    const __m256i parts[] = {a0, a1, a2, a3};
    for (std::size_t k = 0; k < 4; ++k) {
      const auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(parts[k]));
      if (mask != 0) return j + 32 * k + static_cast<std::size_t>(__builtin_ctz(mask));
    }
  }
  for (; j + 32 <= to; j += 32) {
    const auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(Pairs32(p, j)));
    if (mask != 0) return j + static_cast<std::size_t>(__builtin_ctz(mask));
  }
  return Scalar(p, j, to);
}

using Search = std::size_t (*)(const std::uint8_t*, std::size_t, std::size_t);

Search Pick() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? Avx2 : Sse2;
}

const Search kSearch = Pick();

#endif

}  // namespace

std::size_t NextCandidate(const std::uint8_t* p, std::size_t from, std::size_t to) {
#if ZENPIKO_X86_SEARCH
  return kSearch(p, from, to);
#else
  return Scalar(p, from, to);
#endif
}
