#include "varnholt/landscape.h"

#include <gtest/gtest.h>

#include <functional>

#include <nlohmann/json.hpp>

#include "blank_map.h"
#include "mapfile.h"
#include "mapfile/reader.h"
#include "varnholt/report.h"
#include "varnholt/varnholt.h"

namespace varnholt::inspect {
namespace {

using model::LandscapeType;
using model::Map;
using model::ResourceType;

void fill(Map& map, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, LandscapeType ground) {
  for (uint32_t y = y0; y <= y1; ++y) {
    for (uint32_t x = x0; x <= x1; ++x) map.landscape[x + map.size * y] = ground;
  }
}

void tower(Map& map, uint8_t party, uint16_t x, uint16_t y) {
  map.buildings.push_back({party, model::BuildingType::TOWER, x, y, {}, {}, {}});
}

// 60 x 60 of deep sea with two islands and an islet:
// - island A, x and y 5..24 (400 tiles), grass around an inland lake at
//   12..15 (16 tiles of WATER1 holding 3 fish each); towers 0 at (8, 8) and
//   1 at (20, 20);
// - island B, x 35..54 and y 35..49 (300 tiles), grass with a strip of coal
//   mountain at x 35..44, y 47..49 (30 tiles, 5 coal each) and a wall of
//   MOORINNER at x 45 from top to bottom; towers 2 at (40, 40) west of the
//   wall and 3 at (50, 45) east of it;
// - an islet of SAND at (30, 5) and RIVER1 at (31, 6), touching at a corner.
// Three trees and two stones on island A, 7 gold under a tile of B.
Map islandsMap() {
  Map map = testing::blankMap(60);
  fill(map, 0, 0, 59, 59, LandscapeType::WATER8);
  fill(map, 5, 5, 24, 24, LandscapeType::GRASS);
  fill(map, 12, 12, 15, 15, LandscapeType::WATER1);
  for (uint32_t y = 12; y <= 15; ++y) {
    for (uint32_t x = 12; x <= 15; ++x) map.resourceAmounts[x + 60 * y] = 3;  // code 0 is fish
  }
  fill(map, 35, 35, 54, 49, LandscapeType::GRASS);
  fill(map, 35, 47, 44, 49, LandscapeType::MOUNTAIN);
  for (uint32_t y = 47; y <= 49; ++y) {
    for (uint32_t x = 35; x <= 44; ++x) {
      map.resources[x + 60 * y] = ResourceType::COAL;
      map.resourceAmounts[x + 60 * y] = 5;
    }
  }
  map.resources[50 + 60 * 36] = ResourceType::GOLDORE;
  map.resourceAmounts[50 + 60 * 36] = 7;
  fill(map, 45, 35, 45, 49, LandscapeType::MOORINNER);
  map.landscape[30 + 60 * 5] = LandscapeType::SAND;
  map.landscape[31 + 60 * 6] = LandscapeType::RIVER1;
  for (uint32_t x : {6u, 7u, 9u}) map.objects[x + 60 * 20] = model::ObjectType::TREE_OAK_1;
  for (uint32_t x : {6u, 9u}) map.objects[x + 60 * 10] = model::ObjectType::RES_STONE_07;
  tower(map, 0, 8, 8);
  tower(map, 1, 20, 20);
  tower(map, 2, 40, 40);
  tower(map, 3, 50, 45);
  return map;
}

TEST(MeasureLandscape, IslandsLakeAndAWallOfMoor) {
  const Landscape l = measureLandscape(islandsMap());
  EXPECT_EQ(l.tiles, 3600);
  EXPECT_EQ(l.landTiles, 384 + 300 + 2);
  EXPECT_EQ(l.waterTiles, 3600 - 686);
  EXPECT_DOUBLE_EQ(l.waterShare, 2914.0 / 3600);

  EXPECT_EQ(l.grass, 384 + 300 - 30 - 15);
  EXPECT_EQ(l.mountain, 30);
  EXPECT_EQ(l.swamp, 15);
  EXPECT_EQ(l.desert, 1);
  EXPECT_EQ(l.river, 1);
  EXPECT_EQ(l.snow + l.other, 0);
  EXPECT_DOUBLE_EQ(landShare(l, l.mountain), 30.0 / 686);

  ASSERT_EQ(l.landMasses.size(), 3u);  // the islet's corner joins its two tiles
  EXPECT_EQ(l.landMasses[0].tiles, 384);
  EXPECT_EQ(l.landMasses[0].starts, (std::vector<size_t>{0, 1}));
  EXPECT_EQ(l.landMasses[1].tiles, 300);  // the wall is land: one mass
  EXPECT_EQ(l.landMasses[1].starts, (std::vector<size_t>{2, 3}));
  EXPECT_EQ(l.landMasses[2].tiles, 2);
  EXPECT_TRUE(l.landMasses[2].starts.empty());
  EXPECT_DOUBLE_EQ(l.largestMassShare, 384.0 / 686);

  EXPECT_EQ(l.inlandLakes, 1);  // the sea touches the edge
  EXPECT_EQ(l.inlandLakeTiles, 16);
  EXPECT_DOUBLE_EQ(l.inlandLakeShare, 16.0 / 3600);

  EXPECT_EQ(l.coal, 150);
  EXPECT_EQ(l.gold, 7);
  EXPECT_EQ(l.fish, 48);
  EXPECT_EQ(l.iron + l.gems + l.sulfur, 0);
  EXPECT_EQ(l.trees, 3);
  EXPECT_EQ(l.stones, 2);

  EXPECT_FALSE(l.startsReachableOnFoot);
  EXPECT_EQ(l.walkGroupOfStart, (std::vector<size_t>{0, 0, 1, 2}));
}

// Small scenes on 12 x 12 grass, each with what it shows.
TEST(MeasureLandscape, ConnectionsOverCornersAndBlockingGround) {
  struct Scene {
    const char* what;
    std::function<void(Map&)> build;
    int64_t lakes;
    bool reachable;
    std::vector<size_t> groups;
  };
  const Scene scenes[] = {
      {"a pool touching the sea only at a corner is sea; a lone pool is a lake",
       [](Map& m) {
         m.landscape[0] = LandscapeType::WATER2;
         m.landscape[1 + 12 * 1] = LandscapeType::WATER1;
         m.landscape[6 + 12 * 6] = LandscapeType::WATER1;
         tower(m, 0, 3, 9);
       },
       1, true, {0}},
      {"a diagonal wall of inner snow one tile thick: walkers step between its corners",
       [](Map& m) {
         for (uint32_t i = 0; i < 12; ++i) {
           m.landscape[i + 12 * (11 - i)] = LandscapeType::SNOWINNER;
         }
         tower(m, 0, 1, 1);
         tower(m, 1, 10, 10);
         tower(m, 2, 2, 2);
       },
       0, true, {0, 0, 0}},
      {"mud border and river are walked over",
       [](Map& m) {
         for (uint32_t y = 0; y < 12; ++y) m.landscape[5 + 12 * y] = LandscapeType::MUDBORDER;
         for (uint32_t y = 0; y < 12; ++y) m.landscape[6 + 12 * y] = LandscapeType::RIVER3;
         tower(m, 0, 1, 1);
         tower(m, 1, 10, 10);
       },
       0, true, {0, 0}},
      {"a start on inner mud is a group of its own",
       [](Map& m) {
         m.landscape[4 + 12 * 4] = LandscapeType::MUDINNER;
         tower(m, 0, 4, 4);
         tower(m, 1, 8, 8);
         tower(m, 2, 9, 9);
       },
       0, false, {0, 1, 1}},
      {"no start at all", [](Map&) {}, 0, true, {}},
  };
  for (const Scene& scene : scenes) {
    Map map = testing::blankMap(12);
    scene.build(map);
    const Landscape l = measureLandscape(map);
    EXPECT_EQ(l.inlandLakes, scene.lakes) << scene.what;
    EXPECT_EQ(l.startsReachableOnFoot, scene.reachable) << scene.what;
    EXPECT_EQ(l.walkGroupOfStart, scene.groups) << scene.what;
  }
}

TEST(MeasureLandscape, AMapOfWaterHasNoLandMass) {
  Map map = testing::blankMap(8);
  map.landscape.assign(64, LandscapeType::WATER8);
  const Landscape l = measureLandscape(map);
  EXPECT_TRUE(l.landMasses.empty());
  EXPECT_EQ(l.largestMassShare, 0.0);
  EXPECT_EQ(landShare(l, l.grass), 0.0);
  EXPECT_EQ(l.inlandLakes, 0);
  EXPECT_DOUBLE_EQ(l.waterShare, 1.0);
}

// On generated maps the parts add up: ground classes and land masses to the
// land, the masses' starts to the fairness rows, the amount totals to the
// report's resource table.
TEST(MeasureLandscape, PartsAddUpOnGeneratedMaps) {
  for (const StartMode mode : {StartMode::CLASSIC, StartMode::FAIR, StartMode::SYMMETRIC}) {
    GenerateOptions options;
    options.seed = 42;
    options.playerCount = 4;
    options.mode = mode;
    const Map map = generateMap(options, [](std::string_view) {});
    const Landscape l = measureLandscape(map);
    const auto what = static_cast<int>(mode);
    EXPECT_EQ(l.landTiles + l.waterTiles, int64_t{320} * 320) << what;
    EXPECT_EQ(l.grass + l.desert + l.swamp + l.mountain + l.snow + l.river + l.other, l.landTiles)
        << what;
    int64_t massTiles = 0;
    size_t starts = 0;
    for (size_t m = 0; m < l.landMasses.size(); ++m) {
      massTiles += l.landMasses[m].tiles;
      starts += l.landMasses[m].starts.size();
      if (m > 0) {
        EXPECT_LE(l.landMasses[m].tiles, l.landMasses[m - 1].tiles) << what;
      }
    }
    EXPECT_EQ(massTiles, l.landTiles) << what;
    EXPECT_EQ(starts, 4u) << what;
    EXPECT_LE(l.inlandLakeTiles, l.waterTiles) << what;
    EXPECT_TRUE(l.startsReachableOnFoot) << what;

    const nlohmann::json report = nlohmann::json::parse(
        jsonReport(mapfile::readMap(mapFileBytes(map, [](std::string_view) {})), "m.map"));
    EXPECT_EQ(report["resources"]["COAL"]["amount"], l.coal) << what;
    EXPECT_EQ(report["resources"]["FISH"]["amount"], l.fish) << what;
    EXPECT_EQ(report["trees"], l.trees) << what;
  }
}

TEST(Report, LandscapeBlockInTextAndJson) {
  const mapfile::MapFile file = mapfile::readMap(testing::seal(testing::layoutOf(islandsMap())));
  const nlohmann::json json = nlohmann::json::parse(jsonReport(file, "islands.map"))["landscape"];
  EXPECT_EQ(json["waterTiles"], 2914);
  EXPECT_DOUBLE_EQ(json["waterShare"].get<double>(), 2914.0 / 3600);
  EXPECT_EQ(json["land"]["mountain"]["tiles"], 30);
  EXPECT_DOUBLE_EQ(json["land"]["swamp"]["share"].get<double>(), 15.0 / 686);
  EXPECT_EQ(json["landMasses"]["count"], 3);
  EXPECT_DOUBLE_EQ(json["landMasses"]["largestShare"].get<double>(), 384.0 / 686);
  ASSERT_EQ(json["landMasses"]["withStarts"].size(), 2u);
  EXPECT_EQ(json["landMasses"]["withStarts"][1],
            nlohmann::json::parse(R"({"rank": 2, "tiles": 300, "share": )" +
                                  nlohmann::json(300.0 / 686).dump() +
                                  R"(, "starts": [2, 3]})"));
  EXPECT_EQ(json["landMasses"]["withoutStarts"]["tiles"], 2);
  EXPECT_EQ(json["inlandLakes"]["count"], 1);
  EXPECT_EQ(json["inlandLakes"]["tiles"], 16);
  EXPECT_EQ(json["amounts"]["coal"], 150);
  EXPECT_EQ(json["amounts"]["fish"], 48);
  EXPECT_EQ(json["trees"], 3);
  EXPECT_EQ(json["onFoot"]["startsReachable"], false);
  EXPECT_EQ(json["onFoot"]["groupOfStart"], nlohmann::json::parse("[0, 0, 1, 2]"));

  const std::string text = textReport(file, "islands.map");
  for (const char* line : {
           "\nlandscape (8 neighbours connect; ground as shares of the land):\n",
           "\n  water: 2914 of 3600 tiles (80.9 %)\n",
           "\n  land: 686 tiles: grass 93.1 %, desert 0.1 %, swamp 2.2 %, mountain 4.4 %, snow 0.0 "
           "%, river 0.1 %, other 0.0 %\n",
           "\n  land masses: 3, the largest 56.0 % of the land\n",
           "\n    mass 1: 384 tiles, starts 0 1\n    mass 2: 300 tiles, starts 2 3\n",
           "\n    without starts: 1 masses, 2 tiles\n",
           "\n  inland lakes: 1, 16 tiles (0.4 % of the map)\n",
           "\n  amounts: coal 150, iron 0, gold 7, gems 0, sulfur 0, fish 48\n",
           "\n  on foot: some starts cannot reach each other, groups of the starts: 0 0 1 2\n\n"
           "look (",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
}

}  // namespace
}  // namespace varnholt::inspect
