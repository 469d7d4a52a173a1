#include "geometry/summedarea.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/footprints.h"
#include "geometry/tiles.h"
#include "inspect/fairness.h"

namespace varnholt::generate {

using geometry::FootprintRows;
using geometry::SummedArea;
using geometry::footprintFits;
namespace {

// A 37 x 37 grid of counts 0..3 in an irregular pattern, so sums over
// different shapes differ.
std::vector<int32_t> pattern(int64_t size) {
  std::vector<int32_t> counts(static_cast<size_t>(size * size));
  for (int64_t i = 0; i < size * size; ++i)
    counts[static_cast<size_t>(i)] = static_cast<int32_t>((i * 7919 + i / 5) % 4);
  return counts;
}

TEST(SummedArea, RectanglesAndCirclesMatchThePlainSums) {
  const int64_t size = 37;
  const std::vector<int32_t> counts = pattern(size);
  const SummedArea table(size, counts);
  struct Case {
    int64_t x;
    int64_t y;
    int64_t radius;
  };
  // Inside, at a corner, beyond the edge, wider than the map.
  for (const Case c :
       {Case{18, 18, 10}, Case{0, 0, 12}, Case{36, 5, 1}, Case{-3, 40, 6}, Case{18, 18, 40}}) {
    int64_t circle = 0;
    int64_t rect = 0;
    for (int64_t y = 0; y < size; ++y) {
      for (int64_t x = 0; x < size; ++x) {
        const int64_t v = counts[static_cast<size_t>(x + size * y)];
        if (distance(c.x, c.y, x, y) < c.radius) circle += v;
        if (x >= c.x - c.radius && x <= c.x + 3 && y >= c.y - 2 && y <= c.y + c.radius) rect += v;
      }
    }
    EXPECT_EQ(table.circle(c.x, c.y, c.radius), circle) << c.x << "," << c.y << " r" << c.radius;
    EXPECT_EQ(table.rect(c.x - c.radius, c.y - 2, c.x + 3, c.y + c.radius), rect);
  }
}

// Footprint fits from the table against a cell-by-cell test, on a grid with
// scattered bad tiles and the map edge close by.
TEST(SummedArea, FootprintFitsMatchTheCellByCellTest) {
  const int64_t size = 30;
  std::vector<int32_t> bad(static_cast<size_t>(size * size), 0);
  for (int64_t i = 0; i < size * size; i += 53) bad[static_cast<size_t>(i)] = 1;
  const SummedArea table(size, bad);
  for (const char* key : {inspect::SMALL_SPOT_KEY, inspect::LARGE_SPOT_KEY}) {
    const model::BuildingMeta& meta = catalogue::buildingMeta(key);
    const std::vector<int32_t> fits = footprintFits(table, FootprintRows(meta));
    for (int64_t y = 0; y < size; ++y) {
      for (int64_t x = 0; x < size; ++x) {
        bool fit = true;
        for (const model::BuildingMetaBlock& cell : meta.blocks) {
          const int64_t cx = x + cell.xOffset;
          const int64_t cy = y + cell.yOffset;
          fit = fit && cx >= 0 && cy >= 0 && cx < size && cy < size &&
                bad[static_cast<size_t>(cx + size * cy)] == 0;
        }
        EXPECT_EQ(fits[static_cast<size_t>(x + size * y)], fit ? 1 : 0)
            << key << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace varnholt::generate
