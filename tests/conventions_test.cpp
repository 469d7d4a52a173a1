// The ground-convention findings the inspector counts, on small hand-drawn
// maps, and the fair-map stage that makes every one of them zero.
#include "inspect/conventions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "console.h"
#include "generate/stages.h"
#include "geometry/steps.h"
#include "mapfile.h"
#include "mapfile/reader.h"
#include "model/groundrules.h"
#include "terrain_fixture.h"
#include "varnholt/report.h"
#include "varnholt/varnholt.h"

namespace varnholt::inspect {
namespace {

using model::LandscapeType;
using model::Map;
using model::ObjectType;
using model::ResourceType;
using geometry::stepsTo;
using model::SHORE_STEP;

size_t at(const Map& map, uint32_t x, uint32_t y) { return x + size_t{map.size} * y; }

void setGround(Map& map, uint32_t x, uint32_t y, LandscapeType kind) {
  map.landscape[at(map, x, y)] = kind;
}

void setResource(Map& map, uint32_t x, uint32_t y, ResourceType type, uint8_t amount) {
  map.resources[at(map, x, y)] = type;
  map.resourceAmounts[at(map, x, y)] = amount;
}

void putObject(Map& map, uint32_t x, uint32_t y, ObjectType object) {
  map.objects[at(map, x, y)] = object;
  map.accessible[at(map, x, y)] = model::AccessibleType::BLOCKED;
}

// The nonzero findings by report name.
std::map<std::string, int64_t> nonzero(const Conventions& c) {
  std::map<std::string, int64_t> out;
  for (const auto& [label, count] : findings(c)) {
    if (count != 0) out[std::string(label)] = count;
  }
  return out;
}

// A 9 x 9 map that keeps every convention: a lake graded WATER1 to WATER3
// at level 2 with a shore one step up, a mountain with its border and ore,
// fish in the lake, a stone with room around it, a tree three tiles from it,
// a pile and a settler.
Map cleanMap() {
  Map map = fixture::mapFromArt({
      "ggggggggg",
      "gwwwwwggg",
      "gwwwwwggg",
      "gwwwwwggg",
      "gwwwwwggg",
      "gwwwwwggg",
      "ggggggmmm",
      "ggggggmMm",
      "ggggggmmm",
  });
  for (uint32_t y = 2; y <= 4; ++y) {
    for (uint32_t x = 2; x <= 4; ++x) setGround(map, x, y, LandscapeType::WATER2);
  }
  setGround(map, 3, 3, LandscapeType::WATER3);
  for (size_t i = 0; i < map.heights.size(); ++i) {
    map.heights[i] = model::isWater(map.landscape[i]) ? 2 : 5;
    if (model::isWater(map.landscape[i])) map.resourceAmounts[i] = 3;  // fish
  }
  setResource(map, 7, 7, ResourceType::GOLDORE, 9);
  setResource(map, 6, 6, ResourceType::COAL, 2);
  putObject(map, 7, 2, ObjectType::RES_STONE_09);
  putObject(map, 7, 5, ObjectType::TREE_OAK_1);
  map.stacks = {{model::StackType::PLANK, 2, 8, 8}};
  map.settlers = {{0, model::SettlerType::BEARER, 0, 8}};
  return map;
}

TEST(ConventionsCount, AHandMadeLookingMapHasNone) {
  const Conventions c = conventions(cleanMap());
  EXPECT_EQ(c.waterLevel, 2);
  EXPECT_EQ(nonzero(c), (std::map<std::string, int64_t>{}));
  EXPECT_EQ(conventions(fixture::uniformMap(4, 'g')).waterLevel, -1);
}

TEST(ConventionsCount, EachFindingOnAHandDrawnMap) {
  struct Case {
    const char* what;
    std::function<void(Map&)> edit;
    std::map<std::string, int64_t> expected;
  };
  const std::vector<Case> cases = {
      {"coal under the mountain's outer border, gems under grass, none with amount 0",
       [](Map& m) {
         setGround(m, 0, 7, LandscapeType::MOUNTAINBORDEROUTER);
         setResource(m, 0, 7, ResourceType::COAL, 5);
         setResource(m, 0, 0, ResourceType::GEMS, 1);
         setResource(m, 1, 0, ResourceType::SULFUR, 0);
       },
       {{"mineralsOffMountain", 2}}},
      {"fish under mountain ground and under grass",
       [](Map& m) {
         setResource(m, 7, 7, ResourceType::FISH, 4);
         setResource(m, 0, 0, ResourceType::FISH, 1);
       },
       {{"fishOnLand", 2}}},
      {"one water tile a step above the level",
       [](Map& m) { m.heights[at(m, 3, 3)] = 3; },
       {{"waterOffLevel", 1}}},
      {"a shore tile too steep above its three water neighbours",
       [](Map& m) { m.heights[at(m, 0, 3)] = 2 + SHORE_STEP + 1; },
       {{"steepShorePairs", 3}}},
      {"a shore tile exactly SHORE_STEP above the water",
       [](Map& m) { m.heights[at(m, 0, 3)] = 2 + SHORE_STEP; },
       {}},
      {"WATER8 in the middle beside the WATER2 ring",
       [](Map& m) { setGround(m, 3, 3, LandscapeType::WATER8); },
       {{"waterDepthSteps", 8}, {"ungradedWater", 1}}},
      {"WATER8 on the shore beside WATER1 and WATER2",
       [](Map& m) { setGround(m, 1, 3, LandscapeType::WATER8); },
       {{"waterDepthSteps", 5}, {"deepBesideShallow", 2}, {"deepShores", 1}, {"ungradedWater", 1}}},
      {"WATER2 on the shore",
       [](Map& m) { setGround(m, 5, 3, LandscapeType::WATER2); },
       {{"deepShores", 1}, {"ungradedWater", 1}}},
      {"WATER1 where WATER2 belongs",
       [](Map& m) { setGround(m, 2, 2, LandscapeType::WATER1); },
       {{"waterDepthSteps", 1}, {"ungradedWater", 1}}},  // beside the WATER3 centre
      {"snow border beside the mountain core",
       [](Map& m) { setGround(m, 8, 8, LandscapeType::SNOWBORDER); },
       {{"skippedMountainBorders", 1}}},
      {"trees two tiles and one tile from the stone, another stone two tiles off",
       [](Map& m) {
         putObject(m, 7, 4, ObjectType::TREE_BIRCH_1);
         putObject(m, 8, 3, ObjectType::TREE_BIRCH_2);
         putObject(m, 5, 0, ObjectType::RES_STONE_05);
       },
       {{"treesNearStones", 2}, {"stonesNearStones", 2}}},
      {"a pile beside the stone, a settler on it, a settler off the map",
       [](Map& m) {
         m.stacks.push_back({model::StackType::STONE, 6, 1, 8});
         m.settlers.push_back({0, model::SettlerType::MINER, 7, 2});
         m.settlers.push_back({0, model::SettlerType::MINER, 7, 200});
       },
       {{"pilesNearStones", 1}, {"settlersNearStones", 1}}},
  };
  for (const Case& c : cases) {
    Map map = cleanMap();
    c.edit(map);
    EXPECT_EQ(nonzero(conventions(map)), c.expected) << c.what;
  }
}

TEST(ConventionsCount, TowersWhoseFootprintTouchesSoftGround) {
  // The tower footprint reaches from (-2, -3) to (4, 4) around its tile.
  for (const LandscapeType soft : {LandscapeType::SAND, LandscapeType::RIVER3,
                                   LandscapeType::MOORBORDER, LandscapeType::DESERTBORDEROUTER}) {
    Map map = fixture::uniformMap(12, 'g');
    map.buildings = {{0, model::BuildingType::TOWER, 5, 5, {}, {}, {}},
                     {1, model::BuildingType::TOWER, 11, 11, {}, {}, {}}};  // cells off the map
    setGround(map, 8, 8, soft);
    EXPECT_EQ(conventions(map).towersOnSoftGround, 1) << name(soft);
    setGround(map, 8, 8, LandscapeType::GRASS);
    setGround(map, 10, 5, soft);  // just outside the footprint
    EXPECT_EQ(conventions(map).towersOnSoftGround, 0) << name(soft);
  }
}

TEST(ConventionsCount, StepsToIsTheDistanceInTilesAlongXOrY) {
  const uint32_t size = 11;
  std::vector<uint8_t> sources(size * size, 0);
  sources[3 + size * 2] = 1;
  sources[9 + size * 9] = 1;
  const std::vector<uint8_t> steps = stepsTo(size, sources, 5);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const int64_t near = std::min(std::max(std::abs(x - 3), std::abs(y - 2)),
                                    std::max(std::abs(x - 9), std::abs(y - 9)));
      EXPECT_EQ(steps[x + size * y], std::min<int64_t>(near, 5)) << x << "," << y;
    }
  }
  EXPECT_EQ(stepsTo(3, std::vector<uint8_t>(9, 0), 8), std::vector<uint8_t>(9, 8));
}

TEST(ConventionsReport, TextAndJsonCarryTheFindings) {
  Map map = cleanMap();
  setResource(map, 0, 0, ResourceType::COAL, 3);
  const mapfile::MapFile file = mapfile::readMap(testing::seal(testing::layoutOf(map)));
  const std::string text = textReport(file, "c.map");
  EXPECT_NE(text.find("\nconventions (water level 2; 0 of each on maps that keep them):\n"
                      "  mineralsOffMountain: 1\n  fishOnLand: 0\n"),
            std::string::npos)
      << text;
  const nlohmann::json json = nlohmann::json::parse(jsonReport(file, "c.map"));
  EXPECT_EQ(json["conventions"]["waterLevel"], 2);
  EXPECT_EQ(json["conventions"]["mineralsOffMountain"], 1);
  EXPECT_EQ(json["conventions"]["towersOnSoftGround"], 0);
}

}  // namespace
}  // namespace varnholt::inspect

namespace varnholt::generate {
namespace {

using model::LandscapeType;
using model::Map;
using model::ObjectType;

size_t at(const Map& map, uint32_t x, uint32_t y) { return x + size_t{map.size} * y; }

TEST(GroundConventions, ClassicMapsComeOutClean) {
  struct Case {
    int64_t seed;
    int64_t size;
    int64_t players;
  };
  for (const Case& c : {Case{123456789, 320, 8}, Case{1, 160, 2}, Case{7, 200, 3},
                        Case{42, 260, 4}, Case{2026, 480, 8}, Case{5, 640, 8}}) {
    const std::string what = "seed " + std::to_string(c.seed) + " size " + std::to_string(c.size);
    const Map before = generateMap({c.seed, c.size, c.players, model::StartResourcesType::HIGH},
                                   testing::quiet);
    Map map = before;
    applyGroundConventions(map);

    inspect::Conventions found = inspect::conventions(map);
    EXPECT_EQ(found.waterLevel, 0) << what;
    found.towersOnSoftGround = 0;  // where towers stand is the fair tower search's concern
    for (const auto& [label, count] : inspect::findings(found)) {
      EXPECT_EQ(count, 0) << what << ": " << label;
    }

    // Start goods stay; objects only go; fish and ore keep their drawn amounts.
    EXPECT_EQ(map.stacks, before.stacks) << what;
    EXPECT_EQ(map.settlers, before.settlers) << what;
    EXPECT_EQ(map.buildings, before.buildings) << what;
    int64_t objectsLeft = 0;
    for (size_t i = 0; i < map.objects.size(); ++i) {
      if (map.objects[i] != ObjectType::NO_OBJECT) {
        ++objectsLeft;
        EXPECT_EQ(map.objects[i], before.objects[i]) << what << " tile " << i;
      }
      const bool fish = before.resources[i] == model::ResourceType::FISH;
      const bool kept = fish ? model::isWater(map.landscape[i]) : model::isMineralGround(map.landscape[i]);
      if (kept) {
        EXPECT_EQ(map.resources[i], before.resources[i]) << what << " tile " << i;
        EXPECT_EQ(map.resourceAmounts[i], before.resourceAmounts[i]) << what << " tile " << i;
      }
    }
    EXPECT_GT(objectsLeft, 0) << what;

    const std::vector<uint8_t> bytes = mapFileBytes(map, testing::quiet);  // slope check passes
    EXPECT_TRUE(readMapFile(bytes).map == map) << what;
  }
}

TEST(GroundConventions, WaterDepthGradesFromTheShore) {
  // Land only down the left edge; the kinds drawn are wrong on purpose.
  std::vector<std::string> art(12, "gWWWWWWwwwww");
  art[5] = "gwwwwwwwwwww";
  Map map = fixture::mapFromArt(art);
  applyGroundConventions(map);
  for (uint32_t y = 0; y < 12; ++y) {
    for (uint32_t x = 1; x < 12; ++x) {
      EXPECT_EQ(map.landscape[at(map, x, y)], model::WATER_TYPES[std::min(x, 8u) - 1])
          << x << "," << y;
    }
  }
}

TEST(GroundConventions, MountainMeetsOtherGroundThroughItsBorder) {
  Map map = fixture::mapFromArt({
      "gggggggg",
      "gmmmmmmg",
      "gmMMMMmg",
      "gmMMMssg",
      "gmMMMsSg",
      "gmmmmmmg",
      "ggggoggg",
      "gggggggg",
  });
  applyGroundConventions(map);
  const std::vector<std::string> expected = {
      "gggggggg",
      "gmmmmmmg",
      "gmMMmmmg",
      "gmMMmssg",
      "gmMMmsSg",
      "gmmmmmmg",
      "ggggoggg",
      "gggggggg",
  };
  EXPECT_EQ(fixture::landscapeArt(map), expected);
}

TEST(GroundConventions, WaterLiesLevelAndShoresClimbFromIt) {
  Map map = fixture::mapFromArt({
      "wwgggg",
      "wwgggg",
      "wwgggg",
      "wwgggg",
      "wwgggg",
      "wwgggg",
  });
  for (uint32_t y = 0; y < 6; ++y) {
    map.heights[at(map, 0, y)] = static_cast<uint8_t>(5 + y);
    map.heights[at(map, 1, y)] = 9;
    for (uint32_t x = 2; x < 6; ++x) map.heights[at(map, x, y)] = 40;
  }
  map.heights[at(map, 2, 3)] = 0;  // land below the water
  map.heights[at(map, 5, 3)] = 6;  // land already low enough stays
  applyGroundConventions(map);
  for (uint32_t y = 0; y < 6; ++y) {
    EXPECT_EQ(map.heights[at(map, 0, y)], 5);
    EXPECT_EQ(map.heights[at(map, 1, y)], 5);
    EXPECT_EQ(map.heights[at(map, 4, y)], 5 + 3 * model::SHORE_STEP);
  }
  EXPECT_EQ(map.heights[at(map, 2, 0)], 5 + model::SHORE_STEP);
  EXPECT_EQ(map.heights[at(map, 2, 3)], 5 - model::SHORE_STEP);
  EXPECT_EQ(map.heights[at(map, 5, 3)], 6);
}

TEST(GroundConventions, StonesKeepTheirRoomAndStartGoodsStay) {
  Map map = fixture::uniformMap(10, 'g');
  auto put = [&map](uint32_t x, uint32_t y, ObjectType object) {
    map.objects[at(map, x, y)] = object;
    map.accessible[at(map, x, y)] = model::AccessibleType::BLOCKED;
  };
  put(2, 2, ObjectType::RES_STONE_05);  // two tiles from a larger stone: goes
  put(4, 2, ObjectType::RES_STONE_06);  // stays
  put(2, 4, ObjectType::TREE_OAK_1);    // two tiles from that one: goes
  put(0, 4, ObjectType::TREE_OAK_1);    // two tiles from the smaller stone only: stays
  put(7, 0, ObjectType::RES_STONE_07);  // two equal stones: both go
  put(7, 2, ObjectType::RES_STONE_07);
  put(1, 7, ObjectType::RES_STONE_08);  // alone: stays
  put(3, 7, ObjectType::TREE_ELM_1);    // two tiles from it: goes
  put(8, 8, ObjectType::RES_STONE_13);  // a settler two tiles off: goes
  map.settlers = {{0, model::SettlerType::BEARER, 8, 6}};
  map.stacks = {{model::StackType::PLANK, 5, 9, 8}};
  applyGroundConventions(map);
  EXPECT_EQ(map.objects[at(map, 4, 2)], ObjectType::RES_STONE_06);
  EXPECT_EQ(map.objects[at(map, 0, 4)], ObjectType::TREE_OAK_1);
  EXPECT_EQ(map.objects[at(map, 1, 7)], ObjectType::RES_STONE_08);
  for (const auto& [x, y] : {std::pair{2u, 2u}, std::pair{2u, 4u}, std::pair{7u, 0u},
                             std::pair{7u, 2u}, std::pair{3u, 7u}, std::pair{8u, 8u}}) {
    EXPECT_EQ(map.objects[at(map, x, y)], ObjectType::NO_OBJECT) << x << "," << y;
    EXPECT_EQ(map.accessible[at(map, x, y)], model::AccessibleType::EMPTY) << x << "," << y;
  }
  EXPECT_EQ(map.settlers.size(), 1u);
  EXPECT_EQ(map.stacks.size(), 1u);
}

// Every layer of the map with its columns in reverse order.
Map flippedLeftRight(const Map& map) {
  Map flipped = map;
  const uint32_t size = map.size;
  for (uint32_t y = 0; y < size; ++y) {
    for (uint32_t x = 0; x < size; ++x) {
      const size_t from = at(map, size - 1 - x, y);
      const size_t to = at(map, x, y);
      flipped.heights[to] = map.heights[from];
      flipped.landscape[to] = map.landscape[from];
      flipped.objects[to] = map.objects[from];
      flipped.accessible[to] = map.accessible[from];
      flipped.resources[to] = map.resources[from];
      flipped.resourceAmounts[to] = map.resourceAmounts[from];
    }
  }
  return flipped;
}

// The left half of every layer mirrored onto the right half.
void mirrorLeftHalf(Map& map) {
  const Map flipped = flippedLeftRight(map);
  for (uint32_t y = 0; y < map.size; ++y) {
    for (uint32_t x = (map.size + 1) / 2; x < map.size; ++x) {
      const size_t i = at(map, x, y);
      map.heights[i] = flipped.heights[i];
      map.landscape[i] = flipped.landscape[i];
      map.objects[i] = flipped.objects[i];
      map.accessible[i] = flipped.accessible[i];
      map.resources[i] = flipped.resources[i];
      map.resourceAmounts[i] = flipped.resourceAmounts[i];
    }
  }
}

// Symmetric maps must stay symmetric: a mirrored map comes out of the stage
// still mirrored, whichever of two mirrored tiles comes first in index order
// (as with the two pairs of stones in one row).
TEST(GroundConventions, AMirroredMapStaysMirrored) {
  Map generated = generateMap({11, 200, 2, model::StartResourcesType::HIGH}, testing::quiet);
  generated.buildings.clear();
  generated.stacks.clear();
  generated.settlers.clear();
  Map stones = fixture::uniformMap(10, 'g');
  for (const uint32_t x : {1u, 3u}) {
    stones.objects[at(stones, x, 1)] = ObjectType::RES_STONE_10;
    stones.accessible[at(stones, x, 1)] = model::AccessibleType::BLOCKED;
  }
  for (Map map : {generated, stones}) {
    mirrorLeftHalf(map);
    applyGroundConventions(map);
    EXPECT_TRUE(flippedLeftRight(map) == map) << "size " << map.size;
  }
}

}  // namespace
}  // namespace varnholt::generate
