#include "finder/magic.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(NextCandidate, FindsTheFirstMagicPairAtEveryOffsetAndBound) {
  std::mt19937 rng(5);
  std::vector<std::uint8_t> p(300);
  for (int round = 0; round < 50; ++round) {
    // Dense rounds put pairs everywhere; sparse ones leave long stretches for the wide loops.
    const unsigned spread = round % 2 == 0 ? 4 : 120;
    for (auto& b : p) {
      const unsigned r = rng() % spread;
      b = r == 0 ? 'B' : r == 1 ? 'M' : r == 2 ? 'B' : 'x';
    }
    if (round % 2 == 1) p[100 + round] = 'B', p[101 + round] = 'M';
    for (std::size_t from = 0; from < 70; ++from) {
      for (std::size_t to = from; to < p.size(); to += 1 + rng() % 7) {
        std::size_t expect = from;
        while (expect < to && !(p[expect] == 'B' && p[expect + 1] == 'M')) ++expect;
        ASSERT_EQ(NextCandidate(p.data(), from, to), expect) << "from " << from << " to " << to;
      }
    }
  }
  std::vector<std::uint8_t> none(200, 'B');
  none[199] = 'M';  // p[to] may be the M of a pair that starts before `to`
  EXPECT_EQ(NextCandidate(none.data(), 0, 199), 198u);
  EXPECT_EQ(NextCandidate(none.data(), 0, 198), 198u);
}

}  // namespace
