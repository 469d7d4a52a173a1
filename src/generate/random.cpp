#include "generate/random.h"

#include <array>

#include "varnholt/model/error.h"

namespace varnholt::generate {

namespace {

constexpr uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

constexpr uint64_t kLimit = ~uint64_t{0};

// The rejection threshold of each bound below 128, the bounds nearly every
// draw uses, worked out at compile time.
constexpr size_t kSmallBounds = 128;
constexpr std::array<uint64_t, kSmallBounds> kSmallThresholds = [] {
  std::array<uint64_t, kSmallBounds> thresholds{};
  for (uint64_t bound = 1; bound < kSmallBounds; ++bound) {
    thresholds[bound] = kLimit - (kLimit % bound);
  }
  return thresholds;
}();

}  // namespace

uint64_t next(RandomState& s) {
  const uint64_t s0 = s.s0;
  uint64_t s1 = s.s1;
  const uint64_t out = s0 + s1;  // wraps modulo 2^64 by design
  s1 ^= s0;
  s.s0 = rotl(s0, 55) ^ s1 ^ (s1 << 14);
  s.s1 = rotl(s1, 36);
  return out;
}

void skipRandomNumbers(RandomState& s) {
  static constexpr uint64_t kJump[] = {0xBEAC0467EBA5FACBULL, 0xD86B048B86AA9922ULL};
  uint64_t acc0 = 0;
  uint64_t acc1 = 0;
  for (uint64_t word : kJump) {
    for (int bit = 0; bit < 64; ++bit) {
      if (word & (uint64_t{1} << bit)) {
        acc0 ^= s.s0;
        acc1 ^= s.s1;
      }
      next(s);
    }
  }
  s.s0 = acc0;
  s.s1 = acc1;
}

RandomState initRand(int64_t seed) {
  if (seed == 0) seed = 2147483647;
  // Arithmetic shift: a negative seed fills the top 16 bits with ones.
  RandomState s{static_cast<uint64_t>(seed >> 16), static_cast<uint64_t>(seed & 0xFFFF)};
  skipRandomNumbers(s);
  next(s);
  return s;
}

int64_t Random::rand(int64_t max) {
  if (max < 0) throw exception("rand bound must not be negative: " + std::to_string(max));
  if (max == 0) return 0;
  const uint64_t bound = static_cast<uint64_t>(max);
  // The threshold divides by max, not max + 1; this is the generator's own
  // rejection rule and changes which outputs are skipped.
  if (bound >= kSmallBounds && bound != lastBound_) {
    lastBound_ = bound;
    lastThreshold_ = kLimit - (kLimit % bound);
  }
  const uint64_t threshold = bound < kSmallBounds ? kSmallThresholds[bound] : lastThreshold_;
  uint64_t x;
  do {
    x = next(state);
  } while (x > threshold);
  return static_cast<int64_t>(x % (bound + 1));
}

}  // namespace varnholt::generate
