#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "generate/startshapes.h"

// How much the mountains and lakes of two start areas look like turned or
// mirrored copies of each other, as a player would see it: their tiles as
// offsets from the tower, compared under the grid's 8 turns and mirrors and
// the same after a turn by 45 degrees.
namespace varnholt::generate {

class ShapeLikeness {
 public:
  // The mountain with its border rings and the lake of shape, around the
  // middle of its window.
  explicit ShapeLikeness(const StartShape& shape);

  // The largest share of tiles in common (same offset and kind) among the
  // tiles of both, other taken as it lies and this under each turn; 0 when
  // neither has tiles.
  double with(const ShapeLikeness& other) const;

 private:
  static constexpr int64_t kReach = START_LEVEL_RADIUS;
  static constexpr int64_t kSide = 2 * kReach + 1;
  static constexpr size_t kWords = (kSide * kSide * 2 + 63) / 64;
  static constexpr size_t kTurns = 16;
  using Pattern = std::array<uint64_t, kWords>;

  std::vector<Pattern> turned_;  // kTurns patterns, the first as the shape lies
  std::array<int64_t, kTurns> counts_{};
};

}  // namespace varnholt::generate
