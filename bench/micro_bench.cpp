// The two per-byte costs of a scan, apart: finding the magic, and decoding and testing a header.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "finder/header.h"
#include "finder/magic.h"

namespace {

std::vector<std::uint8_t> RandomBlock(std::size_t size) {
  std::mt19937_64 rng(7);
  std::vector<std::uint8_t> block(size + 1);
  for (auto& b : block) b = static_cast<std::uint8_t>(rng());
  return block;
}

void BM_NextCandidate(benchmark::State& state) {
  const auto block = RandomBlock(static_cast<std::size_t>(state.range(0)));
  const std::size_t to = block.size() - 1;
  for (auto _ : state) {
    std::size_t found = 0;
    for (std::size_t j = NextCandidate(block.data(), 0, to); j < to; j = NextCandidate(block.data(), j + 1, to)) {
      ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_NextCandidate)->Arg(256 << 10)->Arg(4 << 20);

void BM_DecodeAndTest(benchmark::State& state) {
  const auto block = RandomBlock(1 << 16);
  std::size_t at = 0;
  for (auto _ : state) {
    const BitmapHeaderRecord h = DecodeHeaderBytes(block.data() + at);
    benchmark::DoNotOptimize(IsBitmapHeader(h, false));
    at = (at + 1) & 0x7FFF;
  }
}
BENCHMARK(BM_DecodeAndTest);

void BM_PushDecodeTest(benchmark::State& state) {
  const auto block = RandomBlock(1 << 16);
  std::size_t at = 0;
  for (auto _ : state) {
    PushHeaderByte(block[at]);
    DecodeHeader();
    benchmark::DoNotOptimize(IsBitmapHeader(false));
    at = (at + 1) & 0xFFFF;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_PushDecodeTest);

}  // namespace
