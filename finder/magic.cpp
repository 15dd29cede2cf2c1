#include "finder/magic.h"

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

// Two loads per 32 positions: compare at p and at p + 1.
std::size_t Sse2(const std::uint8_t* p, std::size_t from, std::size_t to) {
  std::size_t j = from;
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
  return Scalar(p, j, to);
}

// One load per 32 positions: the "M" mask shifted by one lines up with the "B" mask.
__attribute__((target("avx2"))) std::size_t Avx2(const std::uint8_t* p, std::size_t from, std::size_t to) {
  std::size_t j = from;
  const __m256i b = _mm256_set1_epi8('B');
  const __m256i m = _mm256_set1_epi8('M');
  for (; j + 64 <= to; j += 64) {
    const __m256i x0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + j));
    const __m256i x1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + j + 32));
    const std::uint64_t bs = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x0, b))) |
                             std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x1, b)))} << 32;
    const std::uint64_t ms = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x0, m))) |
                             std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x1, m)))} << 32;
    const std::uint64_t pairs = bs & ((ms >> 1) | (std::uint64_t{p[j + 64] == 'M'} << 63));
    if (pairs != 0) return j + static_cast<std::size_t>(__builtin_ctzll(pairs));
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
