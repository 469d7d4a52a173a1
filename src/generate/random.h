#pragma once

#include <cstdint>

// The seeded random source of one generation: xoroshiro128+ with its jump.
namespace varnholt::generate {

struct RandomState {
  uint64_t s0;
  uint64_t s1;

  bool operator==(const RandomState&) const = default;
};

inline constexpr RandomState DefaultRandSeed = {0x69B4C98CB8530805ULL, 0xD1DD3004688D67CAULL};

// One generator step: returns s0 + s1 and advances the state.
uint64_t next(RandomState& s);

// Replaces the state by the one 2^64 steps further on.
void skipRandomNumbers(RandomState& s);

// A fresh state from a seed (0 counts as 2147483647).
RandomState initRand(int64_t seed);

// The generator every draw of one map comes from. Each map has its own, so
// maps can be generated on several threads at once; one object is not to be
// shared between threads.
class Random {
 public:
  explicit Random(int64_t seed) : state(initRand(seed)) {}
  explicit Random(RandomState start) : state(start) {}

  // A uniform integer in 0..max, both ends included; rand(0) consumes
  // nothing. Throws Exception for a negative max.
  int64_t rand(int64_t max);

  RandomState state;

 private:
  // The rejection threshold of the last large bound: large bounds (the tower
  // search's) repeat, and this saves a 64-bit division for each repeat.
  uint64_t lastBound_ = 0;
  uint64_t lastThreshold_ = 0;
};

}  // namespace varnholt::generate
