#pragma once

#include <array>
#include <cmath>
#include <cstdint>

// Tiles as coordinates and the eight compass directions between them, for
// laying out start areas in whole tiles without trigonometry, so a layout
// is the same on every machine.
namespace varnholt::generate {

struct Tile {
  int64_t x;
  int64_t y;
};

// The eight compass directions, each a turn of an eighth from the one
// before, in a fixed order for ties.
inline constexpr std::array<Tile, 8> COMPASS = {
    {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};

// The index in COMPASS of the direction from one tile to another that lies
// along a compass direction (its coordinate signs).
inline size_t compassIndex(const Tile& from, const Tile& to) {
  const Tile sign = {(to.x > from.x) - (to.x < from.x), (to.y > from.y) - (to.y < from.y)};
  for (size_t d = 0; d < COMPASS.size(); ++d) {
    if (COMPASS[d].x == sign.x && COMPASS[d].y == sign.y) return d;
  }
  return 0;
}

// The tile length tiles from from in compass direction d, rounded.
inline Tile along(const Tile& from, size_t d, int64_t length) {
  const Tile direction = COMPASS[d % COMPASS.size()];
  const double norm =
      std::sqrt(static_cast<double>(direction.x * direction.x + direction.y * direction.y));
  const double step = static_cast<double>(length) / norm;
  return {from.x + static_cast<int64_t>(std::lround(static_cast<double>(direction.x) * step)),
          from.y + static_cast<int64_t>(std::lround(static_cast<double>(direction.y) * step))};
}

}  // namespace varnholt::generate
