#pragma once

#include <array>
#include <cstdint>

// The ways a pattern of tiles around a point can be turned onto itself:
// the 8 turns and mirrors of the square grid, and a turn by 45 degrees,
// which the grid's own turns cannot see. Used to tell whether two start
// areas are turned or mirrored copies of each other.
namespace varnholt::geometry {

struct Offset {
  int64_t dx = 0, dy = 0;
};

// (dx, dy) goes to (xx * dx + xy * dy, yx * dx + yy * dy).
struct GridTurn {
  int64_t xx, xy, yx, yy;

  constexpr Offset apply(Offset o) const { return {xx * o.dx + xy * o.dy, yx * o.dx + yy * o.dy}; }
};

// The identity first, then the three turns, then the four mirrors.
inline constexpr std::array<GridTurn, 8> GRID_TURNS = {{{1, 0, 0, 1},
                                                        {0, -1, 1, 0},
                                                        {-1, 0, 0, -1},
                                                        {0, 1, -1, 0},
                                                        {-1, 0, 0, 1},
                                                        {1, 0, 0, -1},
                                                        {0, 1, 1, 0},
                                                        {0, -1, -1, 0}}};

// o turned by 45 degrees and rounded to the nearest tile; stays within the
// distance of o, rounded up.
Offset turnedEighth(Offset o);

}  // namespace varnholt::geometry
