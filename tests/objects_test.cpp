#include <gtest/gtest.h>

#include "blank_map.h"
#include "generate/heightfield.h"
#include "generate/pipeline.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "start_fixture.h"
#include "varnholt/model/map.h"

namespace varnholt::generate {
using namespace varnholt::catalogue;

namespace {

using model::AccessibleType;
using model::LandscapeType;
using model::Map;
using model::ObjectType;

struct ObjectCount {
  int trees = 0;
  int stones = 0;
  int treesRefusedAfterStone = 0;
};

// Replays the draws of the object stage from the random state it started
// with, judging each tile from the map before the stage (tiles not yet
// visited) and after it (tiles already visited, whose objects were placed in
// their own turn). Every hit must match the object found afterwards and every
// other tile must be unchanged. Leaves the random state where the replay ends.
ObjectCount replayObjects(const Map& before, const Map& after, RandomState start,
                          Random& random) {
  random.state = start;
  const int64_t size = before.size;
  const Grid<uint8_t> stoneField = generateWithBorder(random, size, 20);
  const Grid<uint8_t> treeField = generateWithBorder(random, size, 20);
  ObjectCount count;
  for (int64_t i = 0; i < size * size; ++i) {
    bool free = true;
    for (int64_t dy = -1; dy <= 1; ++dy) {
      for (int64_t dx = -1; dx <= 1; ++dx) {
        const int64_t px = i % size + dx;
        const int64_t py = i / size + dy;
        if ((dx == 0 && dy == 0) || px < 0 || px >= size || py < 0 || py >= size) continue;
        const int64_t p = px + py * size;
        free = free && model::isEmpty(p < i ? after : before, p);
      }
    }
    const auto at = static_cast<size_t>(i);
    const LandscapeType ground = before.landscape[at];
    const bool emptyBefore = model::isEmpty(before, i);
    bool placed = false;
    bool stone = false;
    const uint8_t s = value(stoneField, i);
    if (free && s > 35 && (ground == LandscapeType::GRASS || model::isDesert(ground)) &&
        random.rand(s) == 10) {
      const ObjectType kind = model::STONE_TYPES[static_cast<size_t>(random.rand(8))];
      if (emptyBefore) {
        EXPECT_EQ(after.objects[at], kind) << "stone at " << i;
        placed = stone = true;
        ++count.stones;
      }
    }
    const uint8_t t = value(treeField, i);
    if (free && t > 20 && ground == LandscapeType::GRASS && random.rand(t) == 10) {
      const ObjectType kind = model::TREE_TYPES[static_cast<size_t>(random.rand(12))];
      if (stone) {
        ++count.treesRefusedAfterStone;
      } else if (emptyBefore) {
        EXPECT_EQ(after.objects[at], kind) << "tree at " << i;
        placed = true;
        ++count.trees;
      }
    }
    if (placed) {
      EXPECT_EQ(after.accessible[at], AccessibleType::BLOCKED) << i;
    } else {
      EXPECT_EQ(after.objects[at], before.objects[at]) << i;
      EXPECT_EQ(after.accessible[at], before.accessible[at]) << i;
    }
  }
  return count;
}

// No two tiles that touch, diagonally included, both hold objects.
void expectNoTouchingObjects(const Map& map) {
  const int64_t size = map.size;
  for (int64_t i = 0; i < size * size; ++i) {
    if (map.objects[static_cast<size_t>(i)] == ObjectType::NO_OBJECT) continue;
    for (int64_t dy = 0; dy <= 1; ++dy) {
      for (int64_t dx = -1; dx <= 1; ++dx) {
        const int64_t px = i % size + dx;
        const int64_t py = i / size + dy;
        if ((dy == 0 && dx <= 0) || px < 0 || px >= size || py >= size) continue;
        EXPECT_EQ(map.objects[static_cast<size_t>(px + py * size)], ObjectType::NO_OBJECT)
            << "objects touch at " << i;
      }
    }
  }
}

TEST(Objects, DefaultSeedRegression) {
  Random random(123456789);
  Map map = createMap(random, 8, 320);
  map.party.assign(map.party.size(), 255);
  initHighmapLandscape(map, random);
  initLandscapeOutlines(map);
  initRivers(map, random);
  const Map before = map;
  const RandomState start = random.state;
  initObjects(map, random);
  const RandomState end = random.state;

  const ObjectCount count = replayObjects(before, map, start, random);
  EXPECT_EQ(random.state, end);
  EXPECT_EQ(count.trees, 824);
  EXPECT_EQ(count.stones, 242);
  EXPECT_EQ(count.treesRefusedAfterStone, 7);
  expectNoTouchingObjects(map);
}

// Desert borders, grass with a lattice of single blocked tiles, a river.
TEST(Objects, GroundKindsAndBlockedTilesFollowTheDraws) {
  Map map = testing::blankMap(320);
  for (int64_t y = 0; y < 320; ++y) {
    for (int64_t x = 0; x < 320; ++x) {
      const auto at = static_cast<size_t>(x + y * 320);
      if (x < 100) {
        map.landscape[at] = LandscapeType::DESERTBORDER;
      } else if (x < 200) {
        map.landscape[at] = LandscapeType::DESERTBORDEROUTER;
      } else if (x == 260) {
        map.landscape[at] = LandscapeType::RIVER1;
      } else if (y < 160 && x % 4 == 0 && y % 4 == 0) {
        map.accessible[at] = AccessibleType::BLOCKED;
      }
    }
  }
  Random random(7);
  const Map before = map;
  const RandomState start = random.state;
  initObjects(map, random);
  const RandomState end = random.state;

  const ObjectCount count = replayObjects(before, map, start, random);
  EXPECT_EQ(random.state, end);
  EXPECT_GT(count.trees, 0);
  int stonesOnBorder = 0;
  int stonesOnOuterBorder = 0;
  for (size_t i = 0; i < map.objects.size(); ++i) {
    const ObjectType object = map.objects[i];
    if (object == ObjectType::NO_OBJECT) continue;
    if (model::isTree(object)) {
      EXPECT_EQ(map.landscape[i], LandscapeType::GRASS) << i;
    }
    if (!model::isStone(object)) continue;
    stonesOnBorder += map.landscape[i] == LandscapeType::DESERTBORDER;
    stonesOnOuterBorder += map.landscape[i] == LandscapeType::DESERTBORDEROUTER;
  }
  EXPECT_GT(stonesOnBorder, 0);
  EXPECT_GT(stonesOnOuterBorder, 0);
  expectNoTouchingObjects(map);
}

// Every third row blocked in some way: every tile has a blocking neighbour,
// so the stage draws its two fields and nothing else.
TEST(Objects, BlockedNeighbourMeansNoObjectAndNoDraw) {
  Random random(99);
  generateWithBorder(random, 160, 20);
  generateWithBorder(random, 160, 20);
  const RandomState afterFields = random.state;

  Map open = testing::blankMap(160);
  random = Random(99);
  initObjects(open, random);
  ASSERT_NE(random.state, afterFields) << "the open map must draw for this test to mean anything";

  const std::function<void(Map&, size_t)> blockers[] = {
      [](Map& m, size_t i) { m.accessible[i] = AccessibleType::BLOCKED; },
      [](Map& m, size_t i) { m.accessible[i] = AccessibleType::BLOCKED_BUT_ACCESSIBLE; },
      [](Map& m, size_t i) { m.accessible[i] = AccessibleType::BLOCKED_BUILDING; },
      [](Map& m, size_t i) { m.objects[i] = ObjectType::TREE_OAK_1; },
  };
  for (size_t kind = 0; kind < std::size(blockers); ++kind) {
    Map map = testing::blankMap(160);
    for (size_t i = 0; i < map.objects.size(); ++i) {
      if (i / 160 % 3 == 0) blockers[kind](map, i);
    }
    const Map before = map;
    Random random(99);
    initObjects(map, random);
    EXPECT_EQ(random.state, afterFields) << "blocker " << kind;
    EXPECT_EQ(map.objects, before.objects) << "blocker " << kind;
  }
}

}  // namespace
}  // namespace varnholt::generate
