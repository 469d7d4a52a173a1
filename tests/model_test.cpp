#include <gtest/gtest.h>

#include "blank_map.h"
#include "expect_error.h"
#include "varnholt/model/accessibletype.h"
#include "varnholt/model/buildingtype.h"
#include "varnholt/model/civilizationtype.h"
#include "varnholt/model/fileversion.h"
#include "varnholt/model/landscapetype.h"
#include "varnholt/model/map.h"
#include "varnholt/model/objecttype.h"
#include "varnholt/model/settlertype.h"
#include "varnholt/model/stacktype.h"
#include "varnholt/model/startresourcetype.h"

namespace varnholt::model {
namespace {

TEST(Vocabulary, Names) {
  EXPECT_EQ(name(LandscapeType::WATER1), "WATER1");
  EXPECT_EQ(name(static_cast<LandscapeType>(8)), "UNKNOWN_08");
  EXPECT_EQ(name(static_cast<LandscapeType>(10)), "UNKNOWN_0A");
  EXPECT_EQ(name(static_cast<LandscapeType>(18)), "UNKNOWN_12");
  EXPECT_EQ(name(static_cast<LandscapeType>(254)), "UNKNOWN_FE");
  EXPECT_EQ(name(LandscapeType::NOT_A_TYPE), "NOT_A_TYPE");
  EXPECT_EQ(name(ObjectType::NO_OBJECT), "NO_OBJECT");
  EXPECT_EQ(name(static_cast<ObjectType>(1)), "UNKNOWN_01");
  EXPECT_EQ(name(static_cast<ObjectType>(67)), "UNKNOWN_43");
  EXPECT_EQ(name(static_cast<ObjectType>(81)), "UNKNOWN_51");
  EXPECT_EQ(name(static_cast<ObjectType>(112)), "UNKNOWN_70");
  EXPECT_EQ(name(ObjectType::TREE_OAK_1), "TREE_OAK_1");
  EXPECT_EQ(name(ObjectType::RES_STONE_05), "RES_STONE_05");
  EXPECT_EQ(name(ObjectType::RES_STONE_13), "RES_STONE_13");
  EXPECT_EQ(name(static_cast<ObjectType>(84)), "TREE_UNKNOWN_7");
  EXPECT_EQ(name(static_cast<ObjectType>(124)), "RES_STONE_01");
  EXPECT_EQ(name(static_cast<ObjectType>(127)), "RES_STONE_04");
  EXPECT_EQ(name(static_cast<ObjectType>(128)), "UNKNOWN_80");
  EXPECT_EQ(name(AccessibleType::UNKNOWN_01), "UNKNOWN_01");
  EXPECT_EQ(static_cast<int>(AccessibleType::UNKNOWN_01), 2);
  EXPECT_EQ(name(BuildingType::TOWER), "TOWER");
  EXPECT_EQ(name(BuildingType::SchwefelmineAmazonen), "SchwefelmineAmazonen");
  EXPECT_EQ(static_cast<int>(BuildingType::SchwefelmineAmazonen), 56);
  EXPECT_EQ(name(StackType::unknown), "unknown");
  EXPECT_EQ(static_cast<int>(StackType::HONEY), 35);
  EXPECT_EQ(name(SettlerType::UNKNOWN_42), "UNKNOWN_42");
  EXPECT_EQ(static_cast<int>(SettlerType::NOT_A_SETTLER), 48);
  EXPECT_EQ(static_cast<int>(SettlerType::BAKER), 13);
  EXPECT_EQ(static_cast<int>(BuildingType::BAKER), 20);
  EXPECT_EQ(static_cast<int>(CivilizationType::NOT_DEFINED), 256);
  EXPECT_EQ(static_cast<int>(CivilizationType::FREE_CHOICE), 255);
  EXPECT_EQ(static_cast<int>(FileVersion::AMAZONS), 11);
  EXPECT_EQ(static_cast<int>(StackType::COAL), 5);
  EXPECT_EQ(static_cast<int>(ResourceType::COAL), 1);
}

TEST(Vocabulary, ListsAndPredicates) {
  EXPECT_EQ(TREE_TYPES[0], ObjectType::TREE_BIRCH_1);
  EXPECT_EQ(TREE_TYPES[12], ObjectType::TREE_UNKNOWN_6);
  EXPECT_EQ(STONE_TYPES[8], ObjectType::RES_STONE_13);
  EXPECT_EQ(RIVER_TYPES[3], LandscapeType::RIVER4);
  EXPECT_TRUE(isBlocked(AccessibleType::BLOCKED_BUT_ACCESSIBLE));
  EXPECT_FALSE(isBlocked(AccessibleType::UNKNOWN_01));
  EXPECT_FALSE(isMountain(LandscapeType::SNOWBORDER));
  EXPECT_FALSE(isMountain(LandscapeType::SNOW));
  EXPECT_FALSE(isSnow(LandscapeType::MOUNTAIN));
  EXPECT_FALSE(isWater(LandscapeType::RIVER1));
  EXPECT_TRUE(isWater(LandscapeType::WATER8));
  EXPECT_FALSE(isMoor(LandscapeType::MUDBORDER));
  EXPECT_FALSE(isDesert(LandscapeType::SAND));
  EXPECT_TRUE(isMine(BuildingType::Schwefelmine));
  EXPECT_TRUE(isMine(BuildingType::SchwefelmineAmazonen));
  EXPECT_FALSE(isMine(BuildingType::GOLDMELT));
  EXPECT_FALSE(isMine(BuildingType::Eisenschmelze));
  int waterCodes = 0;
  for (int code = 0; code < 256; ++code) waterCodes += isWater(static_cast<LandscapeType>(code));
  EXPECT_EQ(waterCodes, 8);
  // Code 84 and the small stones 124 to 127 occur only in maps made elsewhere.
  for (int code = 0; code < 256; ++code) {
    const auto object = static_cast<ObjectType>(code);
    EXPECT_EQ(isTree(object), (code >= 68 && code <= 80) || code == 84) << code;
    EXPECT_EQ(isStone(object), code >= 115 && code <= 127) << code;
    EXPECT_EQ(isKnown(object), code < 128) << code;
  }
}

TEST(Vocabulary, StartGoodsKeys) {
  EXPECT_EQ(getStartResourcesTypeFromKey("HG"), StartResourcesType::HIGH);
  EXPECT_EQ(getStartResourcesTypeFromKey("MG"), StartResourcesType::MEDIUM);
  EXPECT_EQ(getStartResourcesTypeFromKey("LG"), StartResourcesType::LOW);
  for (const char* bad : {"hg", "HG ", "", "XX"}) {
    SCOPED_TRACE(bad);
    testing::expectError([&] { getStartResourcesTypeFromKey(bad); }, "Exception",
                         "Illegal start goods key");
  }
}

TEST(MapRecord, EmptinessLooksAtObjectsAccessAndStacks) {
  Map map = testing::blankMap(4);
  EXPECT_TRUE(isEmpty(map, 5));
  map.stacks.push_back(Stack{StackType::PLANK, 1, 1, 8});
  EXPECT_TRUE(isStack(map, 5));
  EXPECT_FALSE(isEmpty(map, 5));
  EXPECT_FALSE(isStack(map, 6));
  map.accessible[6] = AccessibleType::BLOCKED_BUT_ACCESSIBLE;
  EXPECT_FALSE(isEmpty(map, 6));
  // A tile off the map is refused with the project's error, not a library one.
  testing::expectError([&] { isEmpty(map, -1); }, "Exception", "Tile -1 is outside the map");
  testing::expectError([&] { isEmpty(map, 16); }, "Exception", "Tile 16 is outside the map");
  map.accessible[7] = AccessibleType::UNKNOWN_01;
  EXPECT_TRUE(isEmpty(map, 7));
  map.objects[8] = ObjectType::TREE_OAK_1;
  EXPECT_FALSE(isEmpty(map, 8));
}

TEST(MapRecord, GridSnapshotsAreCopies) {
  Map map = testing::blankMap(3);
  Grid<LandscapeType> grid = landscapeGrid(map);
  EXPECT_EQ(grid.w, 3);
  EXPECT_EQ(grid.h, 3);
  grid.data[4] = LandscapeType::MOUNTAIN;
  EXPECT_EQ(map.landscape[4], LandscapeType::GRASS);
  map.party[2] = 7;
  EXPECT_EQ(partyGrid(map).data[2], 7);
  EXPECT_EQ(length(map), 9);
  EXPECT_EQ(length(Map{}), 0);
}

TEST(MapRecord, SlopeCheck) {
  for (uint32_t size : {0u, 1u, 2u}) {
    Map map = testing::blankMap(size);
    for (auto& h : map.heights) h = 200;
    EXPECT_NO_THROW((assert)(map)) << size;
  }
  Map map = testing::blankMap(10);
  for (size_t i = 0; i < map.heights.size(); ++i) map.heights[i] = i % 8;
  EXPECT_NO_THROW((assert)(map));

  map = testing::blankMap(10);
  map.heights[4 + 10 * 6] = 20;
  map.heights[3 + 10 * 5] = 10;
  map.heights[2 + 10 * 4] = 5;  // keeps (3, 5) itself within its own slope
  EXPECT_NO_THROW((assert)(map));  // difference 10, but 20 has bit 3 clear
  map.heights[4 + 10 * 6] = 24;
  testing::expectError([&] { (assert)(map); }, "Exception", "Illegal slope at 4x6");
  // A steep step to the left or upper neighbour alone is never reported.
  // Here a diagonal ridge of 24 rises straight from 0 to its left and above.
  map = testing::blankMap(10);
  for (uint32_t x = 0; x + 2 < 10; ++x) map.heights[x + 10 * (x + 2)] = 24;
  EXPECT_NO_THROW((assert)(map));
  // The first offending tile in row-major order is reported.
  map = testing::blankMap(20);
  map.heights[12 + 20 * 14] = 40;
  map.heights[15 + 20 * 13] = 40;
  testing::expectErrorMessage([&] { (assert)(map); }, "Illegal slope at 15x13");
}

}  // namespace
}  // namespace varnholt::model
