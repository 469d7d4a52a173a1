#include "generate/shapelikeness.h"

#include <algorithm>
#include <cstdlib>

#include "geometry/bitcount.h"
#include "geometry/gridturns.h"

namespace varnholt::generate {

namespace {

// The mountain's outer border ring lies one move beyond its tiles.
constexpr uint8_t kMountainRing = 1;

}  // namespace

ShapeLikeness::ShapeLikeness(const StartShape& shape) : turned_(kTurns) {
  const Window& w = shape.window;
  const int64_t middle = w.side / 2;
  for (int64_t wy = 0; wy < w.side; ++wy) {
    for (int64_t wx = 0; wx < w.side; ++wx) {
      const auto i = static_cast<size_t>(wx + w.side * wy);
      const bool mountain = shape.toMountain[i] <= kMountainRing;
      const bool lake = shape.lake[i] != 0;
      if (!mountain && !lake) continue;
      const geometry::Offset straight = {wx - middle, wy - middle};
      const geometry::Offset diagonal = geometry::turnedEighth(straight);
      for (size_t t = 0; t < kTurns; ++t) {
        const geometry::Offset o = geometry::GRID_TURNS[t % geometry::GRID_TURNS.size()].apply(
            t < geometry::GRID_TURNS.size() ? straight : diagonal);
        if (std::max(std::abs(o.dx), std::abs(o.dy)) > kReach) continue;
        // Two bits per offset: mountain, then lake.
        const auto cell = static_cast<size_t>(2 * ((o.dy + kReach) * kSide + o.dx + kReach));
        const auto set = [&](size_t bit) { turned_[t][bit / 64] |= uint64_t{1} << (bit % 64); };
        if (mountain) set(cell);
        if (lake) set(cell + 1);
      }
    }
  }
  for (size_t t = 0; t < kTurns; ++t) {
    for (uint64_t word : turned_[t]) counts_[t] += geometry::bitCount(word);
  }
}

double ShapeLikeness::with(const ShapeLikeness& other) const {
  const Pattern& theirs = other.turned_[0];
  double best = 0;
  for (size_t t = 0; t < kTurns; ++t) {
    int64_t shared = 0;
    for (size_t w = 0; w < kWords; ++w) shared += geometry::bitCount(turned_[t][w] & theirs[w]);
    const int64_t either = counts_[t] + other.counts_[0] - shared;
    if (either > 0) {
      best = std::max(best, static_cast<double>(shared) / static_cast<double>(either));
    }
  }
  return best;
}

}  // namespace varnholt::generate
