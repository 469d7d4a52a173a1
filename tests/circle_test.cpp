#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "generate/heightfield.h"
#include "geometry/circle.h"
#include "geometry/tiles.h"

namespace varnholt::generate {

using geometry::Circle;
using geometry::circleIndices;

namespace {

// The circle built directly, with no cached offsets: every tile of the bounding square in row-major
// order, kept when inside the grid and nearer than radius, then stably
// sorted by truncated distance.
std::vector<int64_t> referenceCircle(int64_t w, int64_t h, int64_t centre, int64_t radius) {
  const int64_t cx = x(w, centre);
  const int64_t cy = y(w, centre);
  std::vector<std::pair<int64_t, int64_t>> keyed;
  for (int64_t ty = cy - radius; ty <= cy + radius; ++ty) {
    for (int64_t tx = cx - radius; tx <= cx + radius; ++tx) {
      if (tx < 0 || tx >= w || ty < 0 || ty >= h) continue;
      const int64_t d = distance(cx, cy, tx, ty);
      if (d < radius) keyed.push_back({d, tx + ty * w});
    }
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int64_t> indices;
  for (const auto& entry : keyed) indices.push_back(entry.second);
  return indices;
}

TEST(Circle, MatchesReferenceAtCentresEdgesAndCorners) {
  struct Case {
    int64_t w, h, cx, cy, radius;
  };
  const Case cases[] = {
      {320, 320, 160, 160, 40}, {320, 320, 0, 0, 40},    {320, 320, 319, 319, 40},
      {320, 320, 319, 0, 30},   {320, 320, 0, 200, 30},  {320, 320, 5, 317, 40},
      {100, 60, 50, 30, 40},    {100, 60, 99, 59, 30},   {50, 50, 25, 25, 40},
      {10, 10, 4, 6, 1},        {10, 10, 9, 9, 2},       {320, 320, 160, 160, 5},
      {45, 30, 44, 0, 40},      {45, 30, 0, 29, 40},
  };
  for (const Case& c : cases) {
    const Grid<uint8_t> grid(c.w, c.h);
    const int64_t centre = c.cx + c.cy * c.w;
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " (" << c.cx << ", " << c.cy
                                    << ") radius " << c.radius);
    EXPECT_EQ(circleIndices(grid, centre, c.radius), referenceCircle(c.w, c.h, centre, c.radius));
  }
}

TEST(Circle, SizesInsideAndAtTheCorner) {
  EXPECT_EQ(circleIndices(320, 320, 160 + 160 * 320, 40).size(), 5013u);
  EXPECT_EQ(circleIndices(320, 320, 160 + 160 * 320, 30).size(), 2809u);
  EXPECT_EQ(circleIndices(320, 320, 0, 40).size(), 1293u);
  EXPECT_EQ(circleIndices(40, 40, 0, 40).size(), 1293u);
  EXPECT_TRUE(circleIndices(320, 320, 500, 0).empty());
}

TEST(Circle, NearestFirstThenRowMajor) {
  const int64_t w = 100;
  const int64_t centre = 50 + 50 * w;
  const std::vector<std::pair<int64_t, int64_t>> expected = {
      {0, 0},                                                                    // the centre
      {-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1},      // distance 1
      {-2, -2}, {-1, -2}, {0, -2}, {1, -2}, {2, -2}, {-2, -1}, {2, -1},          // distance 2
  };
  const std::vector<int64_t> circle = circleIndices(w, w, centre, 40);
  ASSERT_GE(circle.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(circle[i], centre + expected[i].first + expected[i].second * w) << "entry " << i;
  }
}

}  // namespace
}  // namespace varnholt::generate
