#include "generate/heightfield.h"

#include <gtest/gtest.h>

#include <algorithm>

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
  for (int64_t size : {0, 20, 40, 60}) {
    const Grid<uint8_t> bordered = generateWithBorder(random, size, 20);
    EXPECT_EQ(bordered.data, std::vector<uint8_t>(size * size, 0)) << size;
  }
  EXPECT_EQ(random.state, before);
  testing::expectError([&] { generate(random, 30, 20, 60); }, "Exception",
                       "Illegal generate size 30");
  testing::expectErrorMessage([&] { generateWithBorder(random, 330, 20); },
                              "Illegal generate size 290");
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
