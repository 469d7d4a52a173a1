#include "generate/heightfield.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "expect_error.h"
#include "generate/random.h"

namespace varnholt::generate {
namespace {

TEST(HeightField, InterpolateEndsAndTruncation) {
  EXPECT_EQ(interpolate(10, 20, 0.0), 10);
  EXPECT_EQ(interpolate(10, 20, 1.0), 20);
  EXPECT_EQ(interpolate(10, 20, 0.55), 15);  // 15.5 truncated
  EXPECT_EQ(interpolate(20, 10, 0.55), 14);  // 14.5 truncated toward zero
  EXPECT_EQ(interpolate(0, 60, 1.0 / 19.0 * 19.0), 60);
}

TEST(HeightField, DefaultSeedHeightField) {
  Random draws(123456789);
  std::vector<int64_t> firstDraws;
  for (int i = 0; i < 5; ++i) firstDraws.push_back(draws.rand(60));
  EXPECT_EQ(firstDraws, (std::vector<int64_t>{54, 17, 15, 51, 50}));
  Random skipped(123456789);
  for (int i = 0; i < 169; ++i) skipped.rand(60);

  Random random(123456789);
  const Grid<uint8_t> g = generateWithBorder(random, 320, 20);
  EXPECT_EQ(random.state, skipped.state);
  ASSERT_EQ(g.w, 320);
  ASSERT_EQ(g.data.size(), 320u * 320u);
  struct Expect {
    int x, y, v;
  };
  for (const Expect& e : {Expect{20, 20, 0}, Expect{21, 21, 0}, Expect{299, 299, 0},
                          Expect{298, 298, 0}, Expect{40, 40, 54}, Expect{30, 30, 14},
                          Expect{50, 45, 33}, Expect{100, 100, 34}, Expect{160, 160, 26}}) {
    EXPECT_EQ(value(g, e.x, e.y), e.v) << e.x << "," << e.y;
  }
  EXPECT_EQ(*std::max_element(g.data.begin(), g.data.end()), 60);
}

TEST(HeightField, SingleDrawFieldPeaksAtItsLatticePoint) {
  Random random(99);
  const RandomState before = random.state;
  const Grid<uint8_t> g = generate(random, 40, 20, 60);
  RandomState after = before;
  next(after);
  EXPECT_EQ(random.state, after);
  const uint8_t peak = *std::max_element(g.data.begin(), g.data.end());
  for (auto [x, y] : {std::pair{19, 19}, {20, 19}, {19, 20}, {20, 20}}) {
    EXPECT_EQ(value(g, x, y), peak);
  }
  EXPECT_EQ(value(g, 0, 0), 0);
  EXPECT_EQ(value(g, 39, 39), 0);
}

TEST(HeightField, EdgeSizes) {
  Random random(5);
  const RandomState before = random.state;
  const Grid<uint8_t> g = generate(random, 20, 20, 60);
  EXPECT_EQ(g.data, std::vector<uint8_t>(400, 0));
  EXPECT_EQ(random.state, before);
  // Up to 79 tiles the inner field is a single cell, all 0; 20 leaves an
  // empty inner field and 41 a one-tile one.
  for (int64_t size : {0, 20, 40, 41, 59, 60, 79}) {
    const Grid<uint8_t> bordered = generateWithBorder(random, size, 20);
    EXPECT_EQ(bordered.data, std::vector<uint8_t>(size * size, 0)) << size;
  }
  EXPECT_EQ(random.state, before);
  // Too small for the frame on both sides.
  testing::expectError([&] { generate(random, -30, 20, 60); }, "Exception",
                       "Illegal generate size -30");
  testing::expectErrorMessage([&] { generateWithBorder(random, 39, 20); },
                              "Illegal generate size -1");
}

// 50 tiles hold two cells of 25, not a cell of 20 and a cut one: the single
// draw lands on the lattice point shared at tiles 24 and 25.
TEST(HeightField, OddSizeSpreadsItsCells) {
  Random random(99);
  const RandomState before = random.state;
  const Grid<uint8_t> g = generate(random, 50, 20, 60);
  RandomState after = before;
  next(after);
  EXPECT_EQ(random.state, after);
  const uint8_t peak = *std::max_element(g.data.begin(), g.data.end());
  EXPECT_GT(peak, 0);
  for (auto [x, y] : {std::pair{24, 24}, {25, 24}, {24, 25}, {25, 25}}) {
    EXPECT_EQ(value(g, x, y), peak);
  }
  EXPECT_LT(value(g, 23, 23), peak);
  EXPECT_LT(value(g, 26, 26), peak);
}

// Sizes that are no multiple of the step look like those that are: values
// within the variance, edges 0, gentle slopes, one draw per inner lattice
// point, and the same field for the same seed.
TEST(HeightField, AnySizeKeepsTheLook) {
  struct Case {
    int64_t size;
    int64_t step;
    int64_t cellsPerSide;
  };
  const Case cases[] = {
      {216, 20, 10},  // a 256 map inside its frame
      {290, 20, 14},  // a 330 map
      {984, 20, 49},  // a 1024 map
      {256, 10, 25},  // the resource field of a 256 map
      {251, 10, 25},
      {30, 20, 1},
      {1, 10, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " in steps of " + std::to_string(c.step));
    Random random(4242);
    const Grid<uint8_t> g = generate(random, c.size, c.step, 60);
    ASSERT_EQ(g.w, c.size);
    ASSERT_EQ(g.h, c.size);

    Random drawn(4242);
    for (int64_t i = 0; i < (c.cellsPerSide - 1) * (c.cellsPerSide - 1); ++i) drawn.rand(60);
    EXPECT_EQ(random.state, drawn.state);

    Random again(4242);
    EXPECT_EQ(generate(again, c.size, c.step, 60).data, g.data);

    EXPECT_LE(*std::max_element(g.data.begin(), g.data.end()), 60);
    int steepest = 0;
    for (int64_t y = 0; y < c.size; ++y) {
      for (int64_t x = 0; x < c.size; ++x) {
        const int v = value(g, x, y);
        if (x == 0 || y == 0 || x == c.size - 1 || y == c.size - 1) {
          ASSERT_EQ(v, 0) << x << "," << y;
        }
        if (x > 0) steepest = std::max(steepest, std::abs(v - value(g, x - 1, y)));
        if (y > 0) steepest = std::max(steepest, std::abs(v - value(g, x, y - 1)));
      }
    }
    // A 60 rise over cells at least step tiles wide.
    EXPECT_LE(steepest, 60 / (c.step - 1) + 1);
  }
}

// The frame of a map whose size is no multiple of 20 is 20 tiles of 0, and
// the field inside it has its cells of about 20.
// The inner field lands border tiles in from every edge, whatever the border.
TEST(HeightField, BorderedFieldsSitInsideTheirFrame) {
  struct Case {
    int64_t size;
    int64_t border;
  };
  for (const Case c : {Case{256, 20}, Case{330, 20}, Case{703, 20}, Case{100, 10}, Case{140, 30},
                       Case{60, 0}}) {
    SCOPED_TRACE(::testing::Message() << "size " << c.size << " border " << c.border);
    Random random(8);
    const Grid<uint8_t> g = generateWithBorder(random, c.size, c.border);
    Random inner(8);
    const Grid<uint8_t> field = generate(inner, c.size - 2 * c.border, 20, 60);
    EXPECT_EQ(random.state, inner.state);
    const int64_t far = c.size - c.border;
    for (int64_t y = 0; y < c.size; ++y) {
      for (int64_t x = 0; x < c.size; ++x) {
        const bool frame = x < c.border || y < c.border || x >= far || y >= far;
        ASSERT_EQ(value(g, x, y), frame ? 0 : value(field, x - c.border, y - c.border))
            << x << "," << y;
      }
    }
    EXPECT_GT(*std::max_element(g.data.begin(), g.data.end()), 0);
  }
}

TEST(HeightField, CornersKeepTheirValues) {
  Grid<uint8_t> grid(5, 5);
  SubGrid cell{&grid, 5, 5, 0, 0};
  setA(cell, 10);
  setB(cell, 20);
  setC(cell, 30);
  setD(cell, 40);
  for (int64_t y = 0; y < 5; ++y) {
    for (int64_t x = 0; x < 5; ++x) setValue(cell, x, y, calculateValue(cell, x, y));
  }
  EXPECT_EQ(a(cell), 10);
  EXPECT_EQ(b(cell), 20);
  EXPECT_EQ(c(cell), 30);
  EXPECT_EQ(d(cell), 40);
  EXPECT_EQ(value(grid, 2, 2), 25);
}

}  // namespace
}  // namespace varnholt::generate
