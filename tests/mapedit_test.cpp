#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "blank_map.h"
#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "expect_error.h"
#include "varnholt/model/error.h"

namespace varnholt::catalogue {

namespace {

using model::AccessibleType;
using model::BuildingType;
using model::LandscapeType;
using model::Map;
using model::ObjectType;
using testing::expectError;

constexpr uint32_t kSize = 40;
constexpr int64_t kPos = 1234;  // (34, 30) on the 40 x 40 map

// The tower footprint drawn as rows dy = -3 .. 4 and columns dx = -2 .. 4:
// B blocked, o free, . not part of it.
const std::vector<std::string> kTowerRows = {
    "ooo....",  // dy -3
    "oBBo...",  // dy -2
    "oBBBo..",  // dy -1
    "oBBBBo.",  // dy  0
    ".oBBoo.",  // dy  1
    "..oBBoo",  // dy  2
    "...oooo",  // dy  3
    "....ooo",  // dy  4
};

// Footprint character of the offset, '.' outside it.
char towerCell(int64_t dx, int64_t dy) {
  if (dx < -2 || dx > 4 || dy < -3 || dy > 4) return '.';
  return kTowerRows[static_cast<size_t>(dy + 3)][static_cast<size_t>(dx + 2)];
}

void placeTower(Map& map, int64_t pos) {
  setBuilding(map, pos, BuildingType::TOWER, 3, {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
}

TEST(MapEdit, SetObjectBlocksTheTileOnce) {
  Map map = testing::blankMap(kSize);
  ASSERT_TRUE(canSetObject(map, kPos));
  setObject(map, kPos, ObjectType::TREE_OAK_1);
  EXPECT_EQ(map.objects[kPos], ObjectType::TREE_OAK_1);
  EXPECT_EQ(map.accessible[kPos], AccessibleType::BLOCKED);
  EXPECT_FALSE(canSetObject(map, kPos));

  const Map before = map;
  expectError([&] { setObject(map, kPos, ObjectType::TREE_OAK_1); }, "Exception",
              "Can not set object TREE_OAK_1 at 1234");
  EXPECT_EQ(map, before);
  EXPECT_TRUE(canSetObject(map, kPos + 1));
}

TEST(MapEdit, AnyBlockedAccessOrStackMakesATileNonEmpty) {
  for (AccessibleType access : {AccessibleType::BLOCKED, AccessibleType::BLOCKED_BUT_ACCESSIBLE,
                                AccessibleType::BLOCKED_BUILDING}) {
    Map map = testing::blankMap(kSize);
    map.accessible[kPos] = access;
    EXPECT_FALSE(canSetObject(map, kPos));
    EXPECT_FALSE(canSetBuilding(map, kPos, BuildingType::LUMBERJACK));
  }
  Map map = testing::blankMap(kSize);
  map.accessible[kPos] = AccessibleType::UNKNOWN_01;
  EXPECT_TRUE(canSetObject(map, kPos));

  map.stacks.push_back({model::StackType::PLANK, 34, 30, 8});
  EXPECT_FALSE(canSetObject(map, kPos));
  EXPECT_FALSE(canSetBuilding0(map, kPos, BuildingType::COALMINE));
  EXPECT_FALSE(canSetBuilding(map, kPos, BuildingType::LUMBERJACK));
  EXPECT_TRUE(canSetObject(map, kPos + kSize));
  const Map before = map;
  expectError([&] { setObject(map, kPos, ObjectType::RES_STONE_05); }, "Exception",
              "Can not set object RES_STONE_05 at 1234");
  EXPECT_EQ(map, before);
}

TEST(MapEdit, OnlyMinesStandOnMountains) {
  for (LandscapeType ground :
       {LandscapeType::MOUNTAIN, LandscapeType::MOUNTAINBORDER, LandscapeType::MOUNTAINBORDEROUTER}) {
    Map map = testing::blankMap(kSize);
    map.landscape[kPos] = ground;
    for (BuildingType mine : model::MINE_TYPES) {
      EXPECT_TRUE(canSetBuilding0(map, kPos, mine)) << model::name(mine);
      EXPECT_TRUE(canSetBuilding(map, kPos, mine)) << model::name(mine);
    }
    for (BuildingType other : {BuildingType::LUMBERJACK, BuildingType::GOLDMELT,
                               BuildingType::Eisenschmelze, BuildingType::TOWER}) {
      EXPECT_FALSE(canSetBuilding0(map, kPos, other)) << model::name(other);
      EXPECT_FALSE(canSetBuilding(map, kPos, other)) << model::name(other);
    }
    const Map before = map;
    expectError([&] { setBuilding(map, kPos, BuildingType::GOLDMELT, 0, {}, {}, {}); }, "Exception",
                "Can not set building GOLDMELT at 1234");
    EXPECT_EQ(map, before);
  }
}

TEST(MapEdit, NonTowerBuildingBlocksOnlyItsTile) {
  Map map = testing::blankMap(kSize);
  map.landscape[kPos] = LandscapeType::MOUNTAIN;
  Map expected = map;
  setBuilding(map, kPos, BuildingType::COALMINE, 2, {1, 0, 0}, {0, 2, 0}, {0, 0, 3});
  expected.accessible[kPos] = AccessibleType::BLOCKED_BUILDING;
  expected.buildings.push_back({2, BuildingType::COALMINE, 34, 30, {1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
  EXPECT_EQ(map, expected);
  EXPECT_FALSE(canSetBuilding(map, kPos, BuildingType::COALMINE));
}

TEST(MapEdit, TowerBlocksItsFootprint) {
  Map map = testing::blankMap(kSize);
  map.buildings.push_back({1, BuildingType::CASTLE, 0, 0, {}, {}, {}});
  Map expected = map;
  placeTower(map, kPos);

  expected.buildings.push_back({3, BuildingType::TOWER, 34, 30, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  int blocked = 0;
  int free = 0;
  for (int64_t dy = -3; dy <= 4; ++dy) {
    for (int64_t dx = -2; dx <= 4; ++dx) {
      const size_t tile = static_cast<size_t>(kPos + dx + dy * kSize);
      if (towerCell(dx, dy) == 'B') {
        expected.accessible[tile] = AccessibleType::BLOCKED_BUILDING;
        ++blocked;
      } else if (towerCell(dx, dy) == 'o') {
        expected.accessible[tile] = AccessibleType::BLOCKED_BUT_ACCESSIBLE;
        ++free;
      }
    }
  }
  EXPECT_EQ(blocked, 13);
  EXPECT_EQ(free, 22);
  EXPECT_EQ(map, expected);

  expectError([&] { placeTower(map, kPos); }, "Exception", "Can not set building TOWER at 1234");
  EXPECT_EQ(map, expected);
}

TEST(MapEdit, TowerNeedsEveryFootprintCellEmptyAndOffTheMountains) {
  using Obstacle = std::pair<const char*, std::function<void(Map&, size_t)>>;
  const std::vector<Obstacle> obstacles = {
      {"tree", [](Map& m, size_t t) { m.objects[t] = ObjectType::TREE_BIRCH_1; }},
      {"stone", [](Map& m, size_t t) { m.objects[t] = ObjectType::RES_STONE_12; }},
      {"stack", [](Map& m, size_t t) {
         m.stacks.push_back({model::StackType::STONE, static_cast<uint16_t>(t % kSize),
                             static_cast<uint16_t>(t / kSize), 1});
       }},
      {"building cell", [](Map& m, size_t t) { m.accessible[t] = AccessibleType::BLOCKED_BUILDING; }},
      {"free building cell",
       [](Map& m, size_t t) { m.accessible[t] = AccessibleType::BLOCKED_BUT_ACCESSIBLE; }},
      {"mountain", [](Map& m, size_t t) { m.landscape[t] = LandscapeType::MOUNTAIN; }},
      {"mountain border", [](Map& m, size_t t) { m.landscape[t] = LandscapeType::MOUNTAINBORDEROUTER; }},
  };
  // Every tile around the candidate: an obstacle refuses the tower exactly
  // when it stands on one of the footprint's cells.
  for (const auto& [what, place] : obstacles) {
    for (int64_t dy = -5; dy <= 6; ++dy) {
      for (int64_t dx = -4; dx <= 6; ++dx) {
        Map map = testing::blankMap(kSize);
        place(map, static_cast<size_t>(kPos + dx + dy * kSize));
        const bool inFootprint = towerCell(dx, dy) != '.';
        EXPECT_EQ(canSetBuilding(map, kPos, BuildingType::TOWER), !inFootprint)
            << what << " at " << dx << ", " << dy;
        if (inFootprint) {
          const Map before = map;
          EXPECT_THROW(placeTower(map, kPos), Error);
          EXPECT_EQ(map, before);
        }
      }
    }
  }
  Map map = testing::blankMap(kSize);
  map.landscape[kPos + 3] = LandscapeType::WATER1;
  map.landscape[kPos - 1] = LandscapeType::DESERT;
  EXPECT_TRUE(canSetBuilding(map, kPos, BuildingType::TOWER));
}

TEST(MapEdit, TowerCellsOutsideTheMapAnswerNo) {
  constexpr uint32_t size = 16;
  const Map map = testing::blankMap(size);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const bool outside = y < 3 || y > size - 5 || (y == 3 && x < 2) || (y == size - 5 && x >= size - 4);
      EXPECT_EQ(canSetBuilding(map, x + y * size, BuildingType::TOWER), !outside) << x << ", " << y;
    }
  }
  // Cells past the left edge wrap onto the end of the row above.
  Map wrapped = testing::blankMap(size);
  wrapped.objects[(0 - 2) + (5 - 1) * size] = ObjectType::TREE_ELM_1;
  EXPECT_FALSE(canSetBuilding(wrapped, 0 + 5 * size, BuildingType::TOWER));
}

TEST(MapEdit, CatalogueLookup) {
  EXPECT_EQ(&buldingMetas(), &buldingMetas());
  EXPECT_EQ(buldingMetas().size(), 147u);
  EXPECT_EQ(buildingMeta(TOWER_META_KEY).blocks.size(), 35u);
  expectError([] { buildingMeta("meta/buildings/roman/no_such.xml"); }, "KeyError",
              "key not found: meta/buildings/roman/no_such.xml");
}

}  // namespace
}  // namespace varnholt::catalogue
