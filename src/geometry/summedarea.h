#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/buildingmeta.h"

// Sums of a per-tile count over rectangles, circles and footprints of a
// size x size map in time independent of the area, from one table of running
// sums. Start placement, the fair top-ups and the inspector's fairness table
// all count through this one helper.
namespace varnholt::geometry {

class SummedArea {
 public:
  // The table of counts[x + size * y]; counts.size() must be size * size.
  SummedArea(int64_t size, const std::vector<int32_t>& counts);

  // A table of the tiles where test(tile index) holds, counted as 1.
  template <typename Test>
  static SummedArea of(int64_t size, Test test) {
    std::vector<int32_t> counts(static_cast<size_t>(size * size));
    for (int64_t i = 0; i < size * size; ++i) counts[static_cast<size_t>(i)] = test(i) ? 1 : 0;
    return SummedArea(size, counts);
  }

  // Sum over columns x0..x1 and rows y0..y1, both ends included; the part
  // off the map counts nothing.
  int64_t rect(int64_t x0, int64_t y0, int64_t x1, int64_t y1) const;

  // Sum over the tiles at truncated distance below radius from (cx, cy), the
  // circle of geometry/circle.h; one rectangle per row.
  int64_t circle(int64_t cx, int64_t cy, int64_t radius) const;

  int64_t size() const { return size_; }

 private:
  int64_t size_;
  std::vector<int64_t> sums_;  // (size + 1)^2 running sums with a zero first row and column
};

// A footprint as runs of cells on its rows, so a footprint sum is one
// rectangle read per row.
class FootprintRows {
 public:
  explicit FootprintRows(const model::BuildingMeta& meta);

  // The table's sum over the cells of the footprint placed at (x, y); cells
  // off the map add nothing, so ask inside() first where that matters.
  int64_t sum(const SummedArea& table, int64_t x, int64_t y) const;

  // True when every cell of the footprint at (x, y) lies on the map.
  bool inside(int64_t size, int64_t x, int64_t y) const;

 private:
  struct Run {
    int64_t dy;
    int64_t left;
    int64_t right;
  };
  std::vector<Run> runs_;
  int64_t minDx_ = 0, maxDx_ = 0, minDy_ = 0, maxDy_ = 0;
};

// The tiles where the footprint fits: every cell on the map where bad
// counts nothing. Returns 1 or 0 per tile, ready for another SummedArea.
std::vector<int32_t> footprintFits(const SummedArea& bad, const FootprintRows& footprint);

// The same, worked out only within reach (in rows and columns) of the
// centres, {x, y} each; 0 elsewhere.
std::vector<int32_t> footprintFits(const SummedArea& bad, const FootprintRows& footprint,
                                   const std::vector<std::array<int64_t, 2>>& centres,
                                   int64_t reach);

}  // namespace varnholt::geometry
