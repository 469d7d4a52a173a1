#pragma once

#include <cstdint>

// The one seeded random source of a run: xoroshiro128+ with its jump.
namespace varnholt {

struct RandomState {
  uint64_t s0;
  uint64_t s1;

  bool operator==(const RandomState&) const = default;
};

inline constexpr RandomState DefaultRandSeed = {0x69B4C98CB8530805ULL, 0xD1DD3004688D67CAULL};

// The process-wide generator state every draw comes from.
extern RandomState state;

// One generator step: returns s0 + s1 and advances the state.
uint64_t next(RandomState& s);

// Replaces the state by the one 2^64 steps further on.
void skipRandomNumbers(RandomState& s);

// A fresh state from a seed (0 counts as 2147483647).
RandomState initRand(int64_t seed);

// Seeds the global state; called once per run before any draw.
void randomize(int64_t seed);

// A uniform integer in 0..max, both ends included; rand(0) consumes nothing.
// Throws Exception for a negative max.
int64_t rand(int64_t max);

}  // namespace varnholt
