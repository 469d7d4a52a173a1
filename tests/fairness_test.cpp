#include "inspect/fairness.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "blank_map.h"
#include "catalogue/footprints.h"
#include "mapfile.h"
#include "mapfile/reader.h"
#include "varnholt/report.h"

namespace varnholt::inspect {
using namespace varnholt::mapfile;

namespace {

using model::AccessibleType;
using model::LandscapeType;
using model::Map;
using model::ObjectType;
using model::ResourceType;

void set(Map& map, uint32_t x, uint32_t y, LandscapeType ground) {
  map.landscape[x + map.size * y] = ground;
}

void put(Map& map, uint32_t x, uint32_t y, ObjectType object) {
  map.objects[x + map.size * y] = object;
  map.accessible[x + map.size * y] = AccessibleType::BLOCKED;
}

// Tiles at truncated distance below 40 from a centre far from every edge.
int64_t fullCircle() {
  int64_t count = 0;
  for (int64_t dy = -40; dy <= 40; ++dy) {
    for (int64_t dx = -40; dx <= 40; ++dx) count += dx * dx + dy * dy < 1600;
  }
  return count;
}

// 200 x 200 grass with two towers whose circles do not meet: party 0 at
// (50, 50) among trees, stones, a coal mountain and two goods piles; party 1
// at (150, 150) by a lake with fish, a river, snow and moor.
Map fairnessMap() {
  Map map = testing::blankMap(200);
  map.playerCount = 2;
  for (uint32_t y = 0; y < 200; ++y) {
    for (uint32_t x = 0; x < 200; ++x) {
      if (x < 100) map.party[x + 200 * y] = 0;                      // 20000 tiles
      if (x >= 100 && y >= 100) map.party[x + 200 * y] = 1;         // 10000 tiles
    }
  }
  map.buildings = {{0, model::BuildingType::TOWER, 50, 50, {}, {}, {}},
                   {1, model::BuildingType::TOWER, 150, 150, {}, {}, {}},
                   {0, model::BuildingType::STOCK, 52, 52, {}, {}, {}},
                   {2, model::BuildingType::TOWER, 300, 10, {}, {}, {}}};
  map.accessible[50 + 200 * 50] = AccessibleType::BLOCKED_BUILDING;
  map.accessible[150 + 200 * 150] = AccessibleType::BLOCKED_BUILDING;
  for (uint32_t x = 60; x < 70; ++x) put(map, x, 50, ObjectType::TREE_OAK_1);
  for (uint32_t y = 60; y < 63; ++y) put(map, 50, y, ObjectType::RES_STONE_07);
  for (uint32_t y = 30; y < 35; ++y) {
    for (uint32_t x = 30; x < 35; ++x) {
      set(map, x, y, LandscapeType::MOUNTAIN);
      map.resources[x + 200 * y] = ResourceType::COAL;
      map.resourceAmounts[x + 200 * y] = 4;
    }
  }
  map.resources[31 + 200 * 40] = ResourceType::GOLDORE;  // gold under grass counts too
  map.resourceAmounts[31 + 200 * 40] = 15;
  // Gems and sulfur in different amounts, so their columns cannot trade places.
  map.resources[32 + 200 * 40] = ResourceType::GEMS;
  map.resourceAmounts[32 + 200 * 40] = 6;
  map.resources[33 + 200 * 40] = ResourceType::SULFUR;
  map.resourceAmounts[33 + 200 * 40] = 11;
  map.stacks = {{model::StackType::PLANK, 45, 45, 8},
                {model::StackType::STONE, 46, 45, 4},
                {model::StackType::FISH, 100, 0, 9},
                {model::StackType::FISH, 500, 0, 9}};
  for (uint32_t y = 140; y < 146; ++y) {
    for (uint32_t x = 140; x < 146; ++x) {
      set(map, x, y, LandscapeType::WATER3);
      map.resourceAmounts[x + 200 * y] = 7;  // resource code 0 is fish
    }
  }
  for (uint32_t y = 160; y < 164; ++y) set(map, 150, y, LandscapeType::RIVER2);
  set(map, 160, 150, LandscapeType::SNOW);
  set(map, 161, 150, LandscapeType::SNOWBORDER);
  set(map, 160, 151, LandscapeType::MOOR);
  set(map, 161, 151, LandscapeType::MOORBORDER);
  for (int i = 0; i < 5; ++i) map.settlers.push_back({0, model::SettlerType::BEARER, 50, 55});
  for (int i = 0; i < 2; ++i) map.settlers.push_back({1, model::SettlerType::BEARER, 150, 155});
  map.settlers.push_back({7, model::SettlerType::BEARER, 0, 0});
  return map;
}

TEST(Fairness, CountsAroundEachTower) {
  const Fairness f = fairness(fairnessMap());
  ASSERT_TRUE(f.fromTowers);
  ASSERT_EQ(f.rows.size(), 2u);  // the stock and the tower outside the map are no start spots
  const FairnessRow& a = f.rows[0];
  const FairnessRow& b = f.rows[1];
  EXPECT_EQ(a.spot.party, 0);
  EXPECT_EQ(a.spot.x, 50u);
  EXPECT_EQ(b.spot.y, 150u);
  const int64_t circle = fullCircle();

  EXPECT_EQ(a[Column::CLAIMED], 20000);
  EXPECT_EQ(a[Column::BUILDABLE], circle - 10 - 3 - 25 - 2 - 1);
  EXPECT_EQ(a[Column::TREES], 10);
  EXPECT_EQ(a[Column::STONES], 3);
  EXPECT_EQ(a[Column::MOUNTAIN], 25);
  EXPECT_EQ(a[Column::COAL], 100);
  EXPECT_EQ(a[Column::GOLD], 15);
  EXPECT_EQ(a[Column::GEMS], 6);
  EXPECT_EQ(a[Column::SULFUR], 11);
  EXPECT_EQ(a[Column::WATER], 0);
  EXPECT_EQ(a[Column::PILES], 2);
  EXPECT_EQ(a[Column::GOODS], 12);
  EXPECT_EQ(a[Column::SETTLERS], 5);

  EXPECT_EQ(b[Column::CLAIMED], 10000);
  EXPECT_EQ(b[Column::BUILDABLE], circle - 36 - 4 - 2 - 2 - 1);
  EXPECT_EQ(b[Column::WATER], 36);
  EXPECT_EQ(b[Column::FISH], 252);
  EXPECT_EQ(b[Column::MOUNTAIN], 0);
  EXPECT_EQ(b[Column::COAL], 0);
  EXPECT_EQ(b[Column::PILES], 0);
  EXPECT_EQ(b[Column::SETTLERS], 2);

  const Spread claimed = f.spread[static_cast<size_t>(Column::CLAIMED)];
  EXPECT_EQ(claimed.min, 10000);
  EXPECT_EQ(claimed.max, 20000);
  const Spread trees = f.spread[static_cast<size_t>(Column::TREES)];
  EXPECT_EQ(trees.min, 0);
  EXPECT_EQ(trees.max, 10);
}

TEST(Fairness, CirclesAreClippedAtTheMapEdge) {
  Map map = testing::blankMap(50);
  map.buildings = {{3, model::BuildingType::CASTLE, 0, 0, {}, {}, {}}};
  const Fairness f = fairness(map);
  ASSERT_EQ(f.rows.size(), 1u);
  int64_t quarter = 0;  // the lower right quarter, axes included
  for (int64_t dy = 0; dy < 40; ++dy) {
    for (int64_t dx = 0; dx < 40; ++dx) quarter += dx * dx + dy * dy < 1600;
  }
  EXPECT_EQ(f.rows[0][Column::BUILDABLE], quarter);
}

TEST(Fairness, MapsWithoutTowersUseThePlayerStartSpots) {
  Map map = testing::blankMap(100);
  map.players = {{testing::playerName("a"), 20, 30, model::CivilizationType::ROMANS},
                 {testing::playerName("b"), 500, 30, model::CivilizationType::ROMANS},
                 {testing::playerName("c"), 70, 80, model::CivilizationType::ROMANS}};
  map.party[0] = 2;
  const Fairness f = fairness(map);
  EXPECT_FALSE(f.fromTowers);
  ASSERT_EQ(f.rows.size(), 2u);  // the spot outside the map is left out
  EXPECT_EQ(f.rows[0].spot.party, 0);
  EXPECT_EQ(f.rows[1].spot.party, 2);
  EXPECT_EQ(f.rows[1].spot.x, 70u);
  EXPECT_EQ(f.rows[1][Column::CLAIMED], 1);
  EXPECT_TRUE(fairness(testing::blankMap(10)).rows.empty());
}

// 200 x 200 grass, towers at (50, 100) and (150, 100); one tree at
// (70, 100) and one stone at (30, 100) in the first circle, nothing else.
// Every building spot of the second circle is free; in the first, the tree
// and the stone each take the spots whose footprint covers them, and the
// tower's own tile takes the spots over it.
TEST(Fairness, BuildingSpotsSupplySpotsAndRivals) {
  Map map = testing::blankMap(200);
  map.buildings = {{0, model::BuildingType::TOWER, 50, 100, {}, {}, {}},
                   {1, model::BuildingType::TOWER, 150, 100, {}, {}, {}}};
  map.accessible[50 + 200 * 100] = AccessibleType::BLOCKED_BUILDING;
  put(map, 70, 100, ObjectType::TREE_OAK_1);
  put(map, 30, 100, ObjectType::RES_STONE_07);
  const Fairness f = fairness(map);
  ASSERT_EQ(f.rows.size(), 2u);
  const int64_t circle = fullCircle();
  struct Case {
    Column column;
    const char* key;
  };
  for (const Case c : {Case{Column::SMALL, SMALL_SPOT_KEY}, Case{Column::MEDIUM, MEDIUM_SPOT_KEY},
                       Case{Column::LARGE, LARGE_SPOT_KEY}}) {
    const int64_t cells = static_cast<int64_t>(catalogue::buildingMeta(c.key).blocks.size());
    EXPECT_EQ(f.rows[1][c.column], circle) << c.key;
    EXPECT_EQ(f.rows[0][c.column], circle - 3 * cells) << c.key;
  }
  // Near the tree or the stone: the small spots at distance below 10 of it.
  int64_t nearOne = 0;
  for (int64_t dy = -10; dy <= 10; ++dy) {
    for (int64_t dx = -10; dx <= 10; ++dx) nearOne += dx * dx + dy * dy < 100;
  }
  const std::vector<int32_t> small = buildingSpots(map, SMALL_SPOT_KEY, startSpots(map));
  int64_t nearStone = 0;
  int64_t nearTree = 0;
  for (int64_t dy = -10; dy <= 10; ++dy) {
    for (int64_t dx = -10; dx <= 10; ++dx) {
      if (dx * dx + dy * dy >= 100) continue;
      nearStone += small[static_cast<size_t>(30 + dx + 200 * (100 + dy))];
      nearTree += small[static_cast<size_t>(70 + dx + 200 * (100 + dy))];
    }
  }
  EXPECT_LT(nearStone, nearOne);
  EXPECT_EQ(f.rows[0][Column::STONECUTTER], nearStone);
  EXPECT_EQ(f.rows[0][Column::WOODCUTTER], nearTree);
  EXPECT_EQ(f.rows[1][Column::STONECUTTER], 0);
  EXPECT_EQ(f.rows[0][Column::RIVAL], 100);
  EXPECT_EQ(f.rows[1][Column::RIVAL], 100);
}

TEST(Fairness, BuildableGround) {
  for (LandscapeType yes : {LandscapeType::GRASS, LandscapeType::DESERT, LandscapeType::SAND,
                            LandscapeType::MUD, LandscapeType::DESERTBORDEROUTER,
                            static_cast<LandscapeType>(18)}) {
    EXPECT_TRUE(isBuildableGround(yes)) << name(yes);
  }
  for (LandscapeType no :
       {LandscapeType::WATER1, LandscapeType::WATER8, LandscapeType::RIVER1, LandscapeType::RIVER4,
        LandscapeType::MOUNTAIN, LandscapeType::MOUNTAINBORDEROUTER, LandscapeType::SNOW,
        LandscapeType::SNOWBORDER, LandscapeType::MOOR, LandscapeType::MOORBORDER}) {
    EXPECT_FALSE(isBuildableGround(no)) << name(no);
  }
}

TEST(Report, JsonCarriesTheCountsAndTheFairnessTable) {
  const MapFile file = readMap(testing::seal(testing::layoutOf(fairnessMap())));
  const nlohmann::json report = nlohmann::json::parse(jsonReport(file, "fair.map"));
  EXPECT_EQ(report["file"], "fair.map");
  EXPECT_EQ(report["checksum"]["ok"], true);
  EXPECT_EQ(report["fileVersion"], 11);
  EXPECT_EQ(report["size"], 200);
  EXPECT_EQ(report["ground"]["MOUNTAIN"], 25);
  EXPECT_EQ(report["ground"]["WATER3"], 36);
  EXPECT_EQ(report["trees"], 10);
  EXPECT_EQ(report["resources"]["COAL"]["amount"], 100);
  EXPECT_EQ(report["resources"]["FISH"]["tiles"], 36);
  EXPECT_EQ(report["resources"]["GEMS"]["amount"], 6);
  EXPECT_EQ(report["resources"]["SULFUR"]["amount"], 11);
  EXPECT_EQ(report["buildings"]["byType"]["TOWER"], 3);
  EXPECT_EQ(report["goodsPiles"]["goods"], 30);
  EXPECT_EQ(report["settlers"], 8);
  EXPECT_EQ(report["warnings"].size(), 3u);  // tower, pile and player count
  const nlohmann::json& fair = report["fairness"];
  EXPECT_EQ(fair["basis"], "towers");
  ASSERT_EQ(fair["rows"].size(), 2u);
  EXPECT_EQ(fair["rows"][0]["coal"], 100);
  EXPECT_EQ(fair["rows"][0]["gems"], 6);
  EXPECT_EQ(fair["rows"][0]["sulfur"], 11);
  EXPECT_EQ(fair["spread"]["claimed"]["ratio"], 2.0);
  EXPECT_TRUE(fair["spread"]["trees"]["ratio"].is_null());
  EXPECT_EQ(fair["spread"]["trees"]["max"], 10);
}

TEST(Report, TextShowsTheTableAndItsSpread) {
  MapFile file = readMap(testing::seal(testing::layoutOf(fairnessMap())));
  const std::string text = textReport(file, "fair.map");
  EXPECT_NE(text.find("checksum: ok"), std::string::npos);
  EXPECT_NE(text.find("\nparty      x    y  claimed  buildable  trees  stones"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\n0         50   50    20000"), std::string::npos) << text;
  EXPECT_NE(text.find("\nmax/min               2.00       1.00    inf"), std::string::npos) << text;
  EXPECT_NE(text.find("  MOUNTAIN: 25\n"), std::string::npos);
  file.storedChecksum ^= 1;
  EXPECT_NE(textReport(file, "fair.map").find("checksum: MISMATCH"), std::string::npos);
}

}  // namespace
}  // namespace varnholt::inspect
