#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <vector>

#include "generate/heightfield.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "terrain_fixture.h"

namespace varnholt::generate {

namespace {

using model::AccessibleType;
using model::LandscapeType;

AccessibleType accessOf(LandscapeType kind) {
  static const std::map<LandscapeType, AccessibleType> access = {
      {LandscapeType::WATER8, AccessibleType::BLOCKED},
      {LandscapeType::SNOWINNER, AccessibleType::BLOCKED},
      {LandscapeType::MOUNTAIN, AccessibleType::EMPTY},
      {LandscapeType::DESERT, AccessibleType::EMPTY},
      {LandscapeType::MOORINNER, AccessibleType::BLOCKED},
      {LandscapeType::WATER1, AccessibleType::BLOCKED},
      {LandscapeType::SAND, AccessibleType::EMPTY},
      {LandscapeType::GRASS, AccessibleType::EMPTY},
  };
  return access.at(kind);
}

// The random state after the variation field of a map of this size, drawn
// from a copy of random.
RandomState afterVariationField(Random random, int64_t size) {
  generateWithBorder(random, size, 20);
  return random.state;
}

TEST(Landscape, FrameIsTwentyTilesOfDeepWater) {
  model::Map map = fixture::uniformMap(100, 'g');
  map.heights.assign(map.heights.size(), 45);
  map.accessible.assign(map.accessible.size(), AccessibleType::UNKNOWN_03);
  Random random(11);
  const RandomState expected = afterVariationField(random, 100);
  initHighmapLandscape(map, random);
  // Height 45 is a mountain without a draw, so only the field has drawn.
  EXPECT_EQ(random.state, expected);
  int frameTiles = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const size_t i = x + 100 * y;
      const bool frame = x < 20 || y < 20 || x >= 80 || y >= 80;
      frameTiles += frame;
      EXPECT_EQ(map.landscape[i], frame ? LandscapeType::WATER8 : LandscapeType::MOUNTAIN)
          << x << "," << y;
      EXPECT_EQ(map.accessible[i], frame ? AccessibleType::BLOCKED : AccessibleType::EMPTY);
      EXPECT_EQ(map.heights[i], frame ? 0 : 45);
    }
  }
  EXPECT_EQ(frameTiles, 100 * 100 - 60 * 60);
}

// On a 60x60 map the variation field is all zero and draws nothing, so every
// draw of the stage belongs to a height rule.
TEST(Landscape, HeightRules) {
  struct Rule {
    int height;
    int64_t bound;  // bound of the tile's one draw; 0 for no draw
    std::function<LandscapeType(int64_t)> kind;
  };
  const auto always = [](LandscapeType kind) { return [kind](int64_t) { return kind; }; };
  const auto below = [](int64_t limit, LandscapeType hit, LandscapeType miss) {
    return [=](int64_t r) { return r < limit ? hit : miss; };
  };
  const Rule rules[] = {
      {0, 0, always(LandscapeType::WATER1)},
      {9, 0, always(LandscapeType::WATER1)},
      {10, 0, always(LandscapeType::GRASS)},
      {11, 5, [](int64_t r) { return r == 1 ? LandscapeType::SAND : LandscapeType::GRASS; }},
      {12, 0, always(LandscapeType::GRASS)},
      {20, 0, always(LandscapeType::GRASS)},
      {35, 0, always(LandscapeType::GRASS)},
      {36, 3, below(1, LandscapeType::MOUNTAIN, LandscapeType::GRASS)},
      {38, 3, below(3, LandscapeType::MOUNTAIN, LandscapeType::GRASS)},
      {39, 3, always(LandscapeType::MOUNTAIN)},
      {40, 3, always(LandscapeType::MOUNTAIN)},
      {41, 0, always(LandscapeType::MOUNTAIN)},
      {50, 0, always(LandscapeType::MOUNTAIN)},
      {51, 3, below(1, LandscapeType::SNOWINNER, LandscapeType::MOUNTAIN)},
      {53, 3, below(3, LandscapeType::SNOWINNER, LandscapeType::MOUNTAIN)},
      {54, 3, always(LandscapeType::SNOWINNER)},
      {60, 3, always(LandscapeType::SNOWINNER)},
  };
  constexpr size_t kRules = std::size(rules);

  model::Map map = fixture::uniformMap(60, 'w');
  std::vector<size_t> ruleOf(map.heights.size(), kRules);
  for (size_t i = 0, k = 0; i < map.heights.size(); ++i) {
    const size_t x = i % 60;
    const size_t y = i / 60;
    if (x < 20 || x >= 40 || y < 20 || y >= 40) continue;
    ruleOf[i] = k++ % kRules;
    map.heights[i] = static_cast<uint8_t>(rules[ruleOf[i]].height);
  }

  Random random(3);
  const RandomState start = random.state;
  initHighmapLandscape(map, random);
  const RandomState after = random.state;

  random.state = start;
  std::map<int, std::set<LandscapeType>> seen;
  for (size_t i = 0; i < map.heights.size(); ++i) {
    if (ruleOf[i] == kRules) continue;
    const Rule& rule = rules[ruleOf[i]];
    const LandscapeType expected = rule.kind(rule.bound > 0 ? random.rand(rule.bound) : 0);
    ASSERT_EQ(map.landscape[i], expected) << "height " << rule.height << " at tile " << i;
    ASSERT_EQ(map.accessible[i], accessOf(expected)) << "height " << rule.height;
    ASSERT_EQ(map.heights[i], rule.height);
    seen[rule.height].insert(expected);
  }
  EXPECT_EQ(after, random.state) << "the stage made other draws than one per drawing tile";
  // The chance rules showed both of their outcomes.
  for (int height : {11, 36, 38, 51, 53}) EXPECT_EQ(seen[height].size(), 2u) << height;
}

TEST(Landscape, DesertAndMoorByVariationValue) {
  constexpr int kSize = 200;
  Random random(123456789);
  const RandomState start = random.state;
  const Grid<uint8_t> variation = generateWithBorder(random, kSize, 20);
  const RandomState afterField = random.state;
  random.state = start;

  model::Map map = fixture::uniformMap(kSize, 'w');
  const uint8_t heights[] = {15, 16, 20, 24, 25};
  for (size_t i = 0; i < map.heights.size(); ++i) map.heights[i] = heights[i % 5];
  initHighmapLandscape(map, random);
  EXPECT_EQ(random.state, afterField);

  std::set<int> plainValues;  // variation values seen on tiles of height 16..24
  for (size_t i = 0; i < map.heights.size(); ++i) {
    const size_t x = i % kSize;
    const size_t y = i / kSize;
    if (x < 20 || x >= kSize - 20 || y < 20 || y >= kSize - 20) continue;
    const int h = map.heights[i];
    const int v = variation.data[i];
    LandscapeType expected = LandscapeType::GRASS;
    if (h >= 16 && h <= 24) {
      plainValues.insert(v);
      if (v > 50) expected = LandscapeType::DESERT;
      if (v >= 31 && v <= 34) expected = LandscapeType::MOORINNER;
    }
    ASSERT_EQ(map.landscape[i], expected) << "height " << h << " variation " << v;
    ASSERT_EQ(map.accessible[i], accessOf(expected));
  }
  for (int v : {0, 30, 31, 34, 35, 50, 51}) EXPECT_TRUE(plainValues.count(v)) << v;
}

}  // namespace
}  // namespace varnholt::generate
