#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "generate/pipeline.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "terrain_fixture.h"

namespace varnholt::generate {

namespace {

using fixture::landscapeArt;
using fixture::mapFromArt;
using fixture::uniformMap;
using model::AccessibleType;
using model::LandscapeType;

// The draws of one river attempt at a sand tile: whether it starts and the
// target's offset from the source.
struct Attempt {
  bool starts = false;
  int64_t dx = 0;
  int64_t dy = 0;
};

Attempt drawAttempt(Random& random) {
  if (random.rand(5) != 1) return {};
  const int64_t span = random.rand(20) + 10;
  const int64_t dx = random.rand(span) - span / 2;
  const int64_t dy = random.rand(span) - span / 2;
  return {true, dx, dy};
}

// A seed and the random source it starts, advanced past some draws.
struct Seeded {
  int64_t seed;
  Random random;
};

// The first seed from 1 up whose draws satisfy wanted, with the source just
// after the draws wanted made.
Seeded seedWhere(const std::function<bool(Random&)>& wanted) {
  for (int64_t seed = 1;; ++seed) {
    Random random(seed);
    if (wanted(random)) return {seed, random};
  }
}

Seeded seedForTarget(int64_t dx, int64_t dy) {
  return seedWhere([=](Random& random) {
    const Attempt a = drawAttempt(random);
    return a.starts && a.dx == dx && a.dy == dy;
  });
}

// The state after one attempt's draws from a copy of random.
RandomState afterAttempt(Random random) {
  drawAttempt(random);
  return random.state;
}

TEST(Rivers, TargetEqualToSourceIsAbandoned) {
  const int64_t seed = seedForTarget(0, 0).seed;
  // The source in the middle, and on the last row, where the first step
  // would leave the map.
  for (size_t sourceRow : {4, 8}) {
    model::Map map = uniformMap(9, 'g');
    map.landscape[4 + 9 * sourceRow] = LandscapeType::SAND;
    const model::Map before = map;
    Random random(seed);
    const RandomState expected = afterAttempt(random);
    initRivers(map, random);
    EXPECT_EQ(landscapeArt(map), landscapeArt(before)) << "source row " << sourceRow;
    EXPECT_EQ(random.state, expected) << "source row " << sourceRow;
  }
}

TEST(Rivers, PathsRunInStaircasesRowsFirstOnTies) {
  struct Case {
    int64_t dx, dy;
    std::vector<std::pair<int, int>> path;  // from the source at (4, 4)
  };
  const Case cases[] = {
      {1, 0, {{4, 4}, {5, 4}}},
      {0, 1, {{4, 4}, {4, 5}}},
      {1, 1, {{4, 4}, {4, 5}, {5, 5}}},
      {-2, 1, {{4, 4}, {3, 4}, {3, 5}, {2, 5}}},
      {0, -3, {{4, 4}, {4, 3}, {4, 2}, {4, 1}}},
      {3, -3, {{4, 4}, {4, 3}, {5, 3}, {5, 2}, {6, 2}, {6, 1}, {7, 1}}},
  };
  for (const Case& c : cases) {
    model::Map map = uniformMap(9, 'g');
    const size_t source = 4 + 9 * 4;
    map.landscape[source] = LandscapeType::SAND;
    map.accessible[source] = AccessibleType::BLOCKED;  // a shore source
    model::Map expected = map;

    auto [seed, random] = seedForTarget(c.dx, c.dy);
    for (const auto& [x, y] : c.path) {
      expected.landscape[x + 9 * y] = model::RIVER_TYPES[random.rand(3)];
    }
    const RandomState end = random.state;

    random = Random(seed);
    initRivers(map, random);
    EXPECT_EQ(map.landscape, expected.landscape) << "target offset " << c.dx << "," << c.dy;
    EXPECT_EQ(map.accessible, expected.accessible);
    EXPECT_EQ(random.state, end) << "target offset " << c.dx << "," << c.dy;
  }
}

TEST(Rivers, AttemptsAbandonedOnAPathTileThatIsNotGrassOrHasNoGrassBeside) {
  const std::vector<std::vector<std::string>> fixtures = {
      // The target tile is mountain.
      {"ggggggggg", "ggggggggg", "ggggggggg", "ggggggggg", "gggg_Mggg", "ggggggggg", "ggggggggg",
       "ggggggggg", "ggggggggg"},
      // The target tile is grass, but nothing around it is.
      {"ggggggggg", "ggggggggg", "ggggggggg", "ggggMw~gg", "gggg_gMgg", "ggggMw~gg", "ggggggggg",
       "ggggggggg", "ggggggggg"},
  };
  const int64_t seed = seedForTarget(1, 0).seed;
  for (const auto& art : fixtures) {
    model::Map map = mapFromArt(art);
    Random random(seed);
    const RandomState expected = afterAttempt(random);
    initRivers(map, random);
    EXPECT_EQ(landscapeArt(map), art);
    EXPECT_EQ(random.state, expected);
  }
}

// Source A paints first; source B, further down, heads for A's source tile
// and meets A's river on the way.
TEST(Rivers, AnEarlierRiverBlocksALaterOne) {
  constexpr uint32_t kSize = 64;
  const int64_t seed = seedWhere([](Random& random) {
    const Attempt a = drawAttempt(random);
    if (!a.starts || a.dy > 0 || (a.dx == 0 && a.dy == 0)) return false;
    for (int64_t k = 0; k <= std::abs(a.dx) + std::abs(a.dy); ++k) random.rand(3);
    const Attempt b = drawAttempt(random);
    return b.starts && b.dy < 0;
  }).seed;
  const size_t sourceA = 32 + kSize * 32;

  // A alone: its river, and the state from which B draws.
  model::Map aloneA = uniformMap(kSize, 'g');
  aloneA.landscape[sourceA] = LandscapeType::SAND;
  Random random(seed);
  initRivers(aloneA, random);
  const RandomState beforeB = random.state;
  const RandomState afterB = afterAttempt(random);
  const Attempt b = drawAttempt(random);
  const size_t sourceB = sourceA - b.dx - kSize * b.dy;

  // B alone, from the same random.state, reaches A's source tile.
  model::Map aloneB = uniformMap(kSize, 'g');
  aloneB.landscape[sourceB] = LandscapeType::SAND;
  random.state = beforeB;
  initRivers(aloneB, random);
  ASSERT_NE(fixture::glyphOf(aloneB.landscape[sourceA]), 'g');

  model::Map both = uniformMap(kSize, 'g');
  both.landscape[sourceA] = LandscapeType::SAND;
  both.landscape[sourceB] = LandscapeType::SAND;
  model::Map expected = aloneA;
  expected.landscape[sourceB] = LandscapeType::SAND;
  random = Random(seed);
  initRivers(both, random);
  EXPECT_EQ(both.landscape, expected.landscape);
  EXPECT_EQ(random.state, afterB);
}

// The first three stages at the default seed and size.
TEST(Rivers, DefaultSeedRegression) {
  Random random(123456789);
  model::Map map = createMap(random, 8, 320);
  map.party.assign(map.party.size(), 255);
  initHighmapLandscape(map, random);
  initLandscapeOutlines(map);
  const model::Map beforeRivers = map;
  initRivers(map, random);

  std::map<LandscapeType, int> riverTiles;
  int sources = 0;
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    if (fixture::glyphOf(map.landscape[i]) != '~') {
      ASSERT_EQ(map.landscape[i], beforeRivers.landscape[i]);
      continue;
    }
    ++riverTiles[map.landscape[i]];
    // Every painted path has exactly one sand tile: its source.
    sources += beforeRivers.landscape[i] == LandscapeType::SAND;
  }
  EXPECT_EQ(sources, 72);
  EXPECT_EQ(riverTiles, (std::map<LandscapeType, int>{{LandscapeType::RIVER1, 187},
                                                      {LandscapeType::RIVER2, 167},
                                                      {LandscapeType::RIVER3, 205},
                                                      {LandscapeType::RIVER4, 169}}));
  EXPECT_EQ(map.accessible, beforeRivers.accessible);
}

}  // namespace
}  // namespace varnholt::generate
