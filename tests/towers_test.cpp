#include <gtest/gtest.h>

#include <array>
#include <string>

#include "blank_map.h"
#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "expect_error.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "geometry/circle.h"
#include "start_fixture.h"
#include "varnholt/model/map.h"

namespace varnholt::generate {

using geometry::circleIndices;
using namespace varnholt::catalogue;

namespace {

using model::AccessibleType;
using model::BuildingType;
using model::LandscapeType;
using model::Map;


// The tower stage written as plainly as possible: every attempt builds the
// whole circle and tests it tile by tile.
void referenceBuildings(Map& map, Random& random, int parties) {
  const int64_t size = map.size;
  for (int party = 0; party < parties; ++party) {
    bool placed = false;
    for (int64_t attempt = 0; attempt < 10000001 && !placed; ++attempt) {
      const int64_t pos = random.rand(size * size);
      const std::vector<int64_t> circle = circleIndices(size, size, pos, 40);
      bool free = true;
      for (int64_t t : circle) {
        const uint8_t owner = map.party[static_cast<size_t>(t)];
        free = free && (owner == party || owner == 255);
      }
      for (const model::BuildingMetaBlock& cell : buildingMeta(TOWER_META_KEY).blocks) {
        const int64_t c = (pos % size + cell.xOffset) + (pos / size + cell.yOffset) * size;
        free = free && c >= 0 && c < size * size;
      }
      if (!free || !canSetBuilding(map, pos, BuildingType::TOWER)) continue;
      setBuilding(map, pos, BuildingType::TOWER, static_cast<uint8_t>(party), {0, 0, 0}, {2, 0, 0},
                  {1, 0, 0});
      for (int64_t t : circle) map.party[static_cast<size_t>(t)] = static_cast<uint8_t>(party);
      placed = true;
    }
    if (!placed) throw exception("FAiled to create player start");
  }
}

// Grass with a lake, a mountain ridge, a row of trees, and tiles that belong
// to parties before the stage starts: party 2 alone, parties 200 and 3 side
// by side.
Map mixedMap() {
  Map map = testing::blankMap(200);
  for (int64_t y = 0; y < 200; ++y) {
    for (int64_t x = 0; x < 200; ++x) {
      const auto at = static_cast<size_t>(x + y * 200);
      if ((x - 100) * (x - 100) + (y - 100) * (y - 100) < 400) {
        map.landscape[at] = LandscapeType::WATER1;
        map.accessible[at] = AccessibleType::BLOCKED;
      }
      if (x == 40 && y > 60) map.landscape[at] = LandscapeType::MOUNTAIN;
      if (y == 150 && x % 3 == 0) map.objects[at] = model::ObjectType::TREE_ELM_1;
      if (x >= 170 && y >= 10 && y < 14) map.party[at] = 2;
      if (x < 20 && y >= 96 && y < 100) map.party[at] = 200;
      if (x < 20 && y >= 100 && y < 104) map.party[at] = 3;
    }
  }
  return map;
}

TEST(Buildings, SameTowersAndDrawsAsThePlainSearch) {
  for (int64_t seed = 1; seed <= 12; ++seed) {
    for (bool mixed : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "seed " << seed << (mixed ? " mixed map" : " grass"));
      const Map start = mixed ? mixedMap() : testing::blankMap(200);
      Map fast = start;
      Random random(seed);
      initBuildings(fast, random, 4);
      const RandomState fastState = random.state;

      Map plain = start;
      random = Random(seed);
      referenceBuildings(plain, random, 4);
      EXPECT_EQ(fastState, random.state);
      EXPECT_EQ(fast.buildings, plain.buildings);
      EXPECT_EQ(fast.party, plain.party);
      EXPECT_EQ(fast.accessible, plain.accessible);
    }
  }
}

TEST(Buildings, OneMannedTowerPerPartyWithItsClaim) {
  Map map = testing::blankMap(320);
  Random random(11);
  initBuildings(map, random, 8);

  ASSERT_EQ(map.buildings.size(), 8u);
  std::vector<uint8_t> expected(map.party.size(), 255);
  for (size_t p = 0; p < 8; ++p) {
    const model::Building& tower = map.buildings[p];
    EXPECT_EQ(tower.party, p);
    EXPECT_EQ(tower.buildingType, BuildingType::TOWER);
    EXPECT_EQ(tower.swordCount, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(tower.archerCount, (std::array<uint8_t, 3>{2, 0, 0}));
    EXPECT_EQ(tower.spearCount, (std::array<uint8_t, 3>{1, 0, 0}));
    for (int64_t t : circleIndices(320, 320, tower.posX + tower.posY * 320, 40)) {
      EXPECT_EQ(expected[static_cast<size_t>(t)], 255) << "claims of " << p << " overlap at " << t;
      expected[static_cast<size_t>(t)] = static_cast<uint8_t>(p);
    }
  }
  EXPECT_EQ(map.party, expected);
}

TEST(Buildings, NoRoomFailsAndKeepsEarlierTowers) {
  struct Case {
    const char* what;
    Map map;
    int players;
  };
  Map water = testing::blankMap(100);
  startmap::blockAllBut(water, [](int64_t) { return false; });
  Case cases[] = {
      {"size 60, second tower", testing::blankMap(60), 2},
      {"40 players on 320", testing::blankMap(320), 40},
      {"water only", water, 1},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    Random random(5);
    testing::expectError([&] { initBuildings(c.map, random, c.players); }, "Exception",
                         "FAiled to create player start");
    EXPECT_LT(c.map.buildings.size(), static_cast<size_t>(c.players));
    for (size_t p = 0; p < c.map.buildings.size(); ++p) EXPECT_EQ(c.map.buildings[p].party, p);
  }
}

// Water everywhere but one tower footprint: only one draw in a million can
// place the tower, so the search runs long past the point where it checks
// that some tile could pass, and must go on drawing until that tile comes.
TEST(Buildings, SingleFreeSpotIsFoundByDrawing) {
  Map map = testing::blankMap(1000);
  const int64_t spot = startmap::tile(map, 500, 500);
  std::vector<bool> island(map.accessible.size(), false);
  for (const model::BuildingMetaBlock& cell : buildingMeta(TOWER_META_KEY).blocks) {
    island[static_cast<size_t>(spot + cell.xOffset + cell.yOffset * 1000)] = true;
  }
  startmap::blockAllBut(map, [&](int64_t i) { return island[static_cast<size_t>(i)]; });

  Random random(3);
  int64_t draws = 1;
  while (random.rand(1000 * 1000) != spot) ++draws;
  const RandomState expected = random.state;
  ASSERT_GT(draws, 100000) << "pick another seed: the search must outlast its check";

  random = Random(3);
  initBuildings(map, random, 1);
  EXPECT_EQ(random.state, expected);
  ASSERT_EQ(map.buildings.size(), 1u);
  EXPECT_EQ(map.buildings[0].posX, 500);
  EXPECT_EQ(map.buildings[0].posY, 500);
}

}  // namespace
}  // namespace varnholt::generate
