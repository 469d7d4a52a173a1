#include "generate/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnholt::generate {
namespace {

TEST(Random, DefaultSeedGivesKnownDraws) {
  Random random(123456789);
  std::vector<int64_t> draws;
  for (int i = 0; i < 10; ++i) draws.push_back(random.rand(99));
  EXPECT_EQ(draws, (std::vector<int64_t>{31, 59, 57, 10, 88, 74, 99, 62, 46, 56}));
}

TEST(Random, SeedZeroEqualsSeedIntMax) {
  EXPECT_EQ(initRand(0), initRand(2147483647));
  EXPECT_NE(initRand(1), initRand(2147483647));
}

TEST(Random, RandZeroConsumesNothing) {
  Random random(42);
  const RandomState before = random.state;
  EXPECT_EQ(random.rand(0), 0);
  EXPECT_EQ(random.state, before);
  const int64_t withZero = random.rand(1000);
  EXPECT_EQ(Random(42).rand(1000), withZero);
}

TEST(Random, NegativeSeedFillsHighBits) {
  // Seed -1 starts from s0 = all ones, s1 = 0xFFFF before the jump.
  RandomState expected{0xFFFFFFFFFFFFFFFFULL, 0xFFFF};
  skipRandomNumbers(expected);
  next(expected);
  EXPECT_EQ(initRand(-1), expected);
}

TEST(Random, BoundsAreInclusive) {
  Random random(7);
  bool sawMax = false;
  for (int i = 0; i < 1000; ++i) {
    const int64_t r = random.rand(3);
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 3);
    sawMax = sawMax || r == 3;
  }
  EXPECT_TRUE(sawMax);
}

TEST(Random, NegativeBoundThrows) { EXPECT_ANY_THROW(Random(1).rand(-1)); }

TEST(Random, NextFollowsXoroshiro) {
  RandomState s{1, 2};
  EXPECT_EQ(next(s), 3u);
  // t = 3; s0 = rotl(1, 55) ^ 3 ^ (3 << 14); s1 = rotl(3, 36).
  EXPECT_EQ(s.s0, (uint64_t{1} << 55) ^ 3 ^ (uint64_t{3} << 14));
  EXPECT_EQ(s.s1, uint64_t{3} << 36);
}

}  // namespace
}  // namespace varnholt::generate
