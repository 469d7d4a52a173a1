#include "inspect/look.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <tuple>

#include <nlohmann/json.hpp>

#include "blank_map.h"
#include "catalogue/footprints.h"
#include "geometry/tiles.h"
#include "inspect/fairness.h"
#include "mapfile.h"
#include "mapfile/reader.h"
#include "varnholt/report.h"

namespace varnholt::inspect {
namespace {

using model::LandscapeType;
using model::Map;
using model::ObjectType;

void tower(Map& map, uint8_t party, uint16_t x, uint16_t y) {
  map.buildings.push_back({party, model::BuildingType::TOWER, x, y, {}, {}, {}});
}

size_t at(const Map& map, int64_t x, int64_t y) { return static_cast<size_t>(x + map.size * y); }

// A lopsided scene of offsets from a tower: a mountain ridge running east,
// a pond to the north-west, a row of trees to the south and two stones.
struct Feature {
  int64_t dx, dy;
  char kind;  // 'm' mountain, 'w' water, 't' tree, 's' stone
};
std::vector<Feature> scene() {
  std::vector<Feature> features;
  for (int64_t dx = 5; dx < 25; ++dx) features.push_back({dx, -3 - dx / 4, 'm'});
  for (int64_t dy = -15; dy < -11; ++dy) {
    for (int64_t dx = -12; dx < -9; ++dx) features.push_back({dx, dy, 'w'});
  }
  for (int64_t dx = -20; dx < 0; dx += 2) features.push_back({dx, 20, 't'});
  features.push_back({7, 9, 's'});
  features.push_back({-30, 4, 's'});
  return features;
}

// Places the scene around (cx, cy), each offset passed through turn.
template <typename Turn>
void stamp(Map& map, int64_t cx, int64_t cy, const std::vector<Feature>& features, Turn turn) {
  for (const Feature& f : features) {
    const auto [dx, dy] = turn(f.dx, f.dy);
    const size_t tile = at(map, cx + dx, cy + dy);
    if (f.kind == 'm') map.landscape[tile] = LandscapeType::MOUNTAIN;
    if (f.kind == 'w') map.landscape[tile] = LandscapeType::WATER1;
    if (f.kind == 't') map.objects[tile] = ObjectType::TREE_OAK_1;
    if (f.kind == 's') map.objects[tile] = ObjectType::RES_STONE_07;
  }
}

using Offset = std::pair<int64_t, int64_t>;

// Three towers on 300 x 100 grass at x 50, 150 and 250, the scene around the
// first and what each case puts around another.
TEST(MeasureLook, CopyOverlapFindsTurnedAndMirroredCopies) {
  struct Case {
    const char* what;
    int64_t cx;                                     // the tower the copy goes to
    std::function<Offset(int64_t, int64_t)> place;  // where a feature's offset lands
    double low, high;  // the best overlap lies in [low, high]
    size_t other;      // and belongs to towers 0 and this one
    bool diagonal;     // of the 45 degree turns, not the grid's
  };
  // A turn by 45 degrees, rounded to the nearest tile.
  const auto eighth = [](int64_t dx, int64_t dy) {
    return Offset{std::lround((dx - dy) / std::sqrt(2.0)), std::lround((dx + dy) / std::sqrt(2.0))};
  };
  const Case cases[] = {
      {"turned by 90 degrees", 150, [](int64_t dx, int64_t dy) { return Offset{-dy, dx}; }, 1, 1,
       1, false},
      {"turned by 180 degrees", 150, [](int64_t dx, int64_t dy) { return Offset{-dx, -dy}; }, 1,
       1, 1, false},
      {"mirrored", 150, [](int64_t dx, int64_t dy) { return Offset{dx, -dy}; }, 1, 1, 1, false},
      {"mirrored on the diagonal", 150, [](int64_t dx, int64_t dy) { return Offset{dy, dx}; }, 1,
       1, 1, false},
      {"unturned at the third tower", 250, [](int64_t dx, int64_t dy) { return Offset{dx, dy}; },
       1, 1, 2, false},
      {"moved by one tile: no turn lines it up", 150,
       [](int64_t dx, int64_t dy) { return Offset{dx + 1, dy + 1}; }, 0, 0.3, 1, false},
      {"turned by 45 degrees: the grid's turns miss it", 150, eighth, 0, 0.3, 1, false},
      {"turned by 45 degrees: a diagonal turn finds it", 150, eighth, 0.6, 1, 1, true},
  };
  for (const Case& c : cases) {
    Map map = testing::blankMap(300);
    tower(map, 0, 50, 50);
    tower(map, 1, 150, 50);
    tower(map, 2, 250, 50);
    stamp(map, 50, 50, scene(), [](int64_t dx, int64_t dy) { return Offset{dx, dy}; });
    stamp(map, c.cx, 50, scene(), c.place);
    const CopyOverlap copy = measureLook(map).copyOverlap;
    const BestPair& overlap = c.diagonal ? copy.diagonalTurns : copy.turns;
    EXPECT_GE(overlap.overlap, c.low) << c.what;
    EXPECT_LE(overlap.overlap, c.high) << c.what;
    EXPECT_EQ(overlap.first, 0u) << c.what;
    EXPECT_EQ(overlap.second, c.other) << c.what;
  }
}

// The same best overlaps by plain sets of (offset, class) pairs, on a map
// of scattered features with one tower near the edge (its circle clipped).
TEST(MeasureLook, CopyOverlapMatchesPlainSets) {
  Map map = testing::blankMap(160);
  uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return state >> 33;
  };
  for (size_t tile = 0; tile < map.landscape.size(); ++tile) {
    switch (next() % 10) {
      case 0: map.landscape[tile] = LandscapeType::MOUNTAIN; break;
      case 1: map.landscape[tile] = LandscapeType::WATER2; break;
      case 2: map.objects[tile] = ObjectType::TREE_OAK_1; break;
      case 3:
        map.landscape[tile] = LandscapeType::MOUNTAINBORDER;
        map.objects[tile] = ObjectType::RES_STONE_07;
        break;
      default: break;
    }
  }
  const std::vector<Offset> spots = {{50, 50}, {110, 60}, {70, 120}, {10, 150}};
  for (const Offset& spot : spots) tower(map, 0, spot.first, spot.second);

  using Pair = std::tuple<int64_t, int64_t, int>;
  auto pairsOf = [&](const Offset& spot, auto place) {
    std::set<Pair> pairs;
    for (int64_t dy = -40; dy <= 40; ++dy) {
      for (int64_t dx = -40; dx <= 40; ++dx) {
        const int64_t x = spot.first + dx;
        const int64_t y = spot.second + dy;
        if (distance(0, 0, dx, dy) >= 40 || x < 0 || y < 0 || x >= 160 || y >= 160) continue;
        const size_t tile = at(map, x, y);
        const auto [px, py] = place(dx, dy);
        if (model::isMountain(map.landscape[tile])) pairs.insert({px, py, 0});
        if (model::isWater(map.landscape[tile])) pairs.insert({px, py, 1});
        if (isTree(map.objects[tile])) pairs.insert({px, py, 2});
        if (isStone(map.objects[tile])) pairs.insert({px, py, 3});
      }
    }
    return pairs;
  };
  const std::function<Offset(int64_t, int64_t)> turns[] = {
      [](int64_t dx, int64_t dy) { return Offset{dx, dy}; },
      [](int64_t dx, int64_t dy) { return Offset{-dy, dx}; },
      [](int64_t dx, int64_t dy) { return Offset{-dx, -dy}; },
      [](int64_t dx, int64_t dy) { return Offset{dy, -dx}; },
      [](int64_t dx, int64_t dy) { return Offset{-dx, dy}; },
      [](int64_t dx, int64_t dy) { return Offset{dx, -dy}; },
      [](int64_t dx, int64_t dy) { return Offset{dy, dx}; },
      [](int64_t dx, int64_t dy) { return Offset{-dy, -dx}; }};
  const auto eighth = [](int64_t dx, int64_t dy) {
    return Offset{std::lround((dx - dy) / std::sqrt(2.0)), std::lround((dx + dy) / std::sqrt(2.0))};
  };
  std::array<double, 2> best{};
  for (size_t a = 0; a < spots.size(); ++a) {
    const std::set<Pair> mine = pairsOf(spots[a], turns[0]);
    for (size_t b = a + 1; b < spots.size(); ++b) {
      for (int diagonal = 0; diagonal < 2; ++diagonal) {
        for (const auto& turn : turns) {
          const std::set<Pair> theirs = pairsOf(spots[b], [&](int64_t dx, int64_t dy) {
            if (diagonal == 0) return turn(dx, dy);
            const auto [ex, ey] = eighth(dx, dy);
            return turn(ex, ey);
          });
          std::vector<Pair> both;
          std::set_intersection(mine.begin(), mine.end(), theirs.begin(), theirs.end(),
                                std::back_inserter(both));
          const double overlap = static_cast<double>(both.size()) /
                                 static_cast<double>(mine.size() + theirs.size() - both.size());
          best[diagonal] = std::max(best[diagonal], overlap);
        }
      }
    }
  }
  const CopyOverlap copy = measureLook(map).copyOverlap;
  EXPECT_DOUBLE_EQ(copy.turns.overlap, best[0]);
  EXPECT_DOUBLE_EQ(copy.diagonalTurns.overlap, best[1]);
  EXPECT_GT(best[0], 0.05);  // scattered features meet by chance
}

// Shared tiles over the tiles of both: tower 0 has trees at 3 offsets, tower
// 1 two of them and a stone at the third: 2 / (3 + 3 - 2).
TEST(MeasureLook, CopyOverlapIsSharedOverEither) {
  Map map = testing::blankMap(200);
  tower(map, 0, 50, 50);
  tower(map, 1, 150, 150);
  for (const Offset& o : {Offset{3, 1}, Offset{-5, 7}, Offset{10, -2}}) {
    map.objects[at(map, 50 + o.first, 50 + o.second)] = ObjectType::TREE_OAK_1;
  }
  map.objects[at(map, 153, 151)] = ObjectType::TREE_OAK_1;
  map.objects[at(map, 145, 157)] = ObjectType::TREE_OAK_1;
  map.objects[at(map, 160, 148)] = ObjectType::RES_STONE_07;
  EXPECT_DOUBLE_EQ(measureLook(map).copyOverlap.turns.overlap, 0.5);
  EXPECT_EQ(measureLook(testing::blankMap(200)).copyOverlap.turns.overlap, 0.0);  // no pair
}

// 120 x 120 land around a tower at (60, 60), cut by a ring of water where
// the truncated distance is 39, so no land pair joins the near tiles to the
// others. Heights alternate like a chessboard, 1 apart inside the ring and
// 3 apart outside: every pair steps 1 near the tower and 3 elsewhere.
TEST(MeasureLook, RoughnessNearAndElsewhere) {
  Map map = testing::blankMap(120);
  tower(map, 0, 60, 60);
  for (int64_t y = 0; y < 120; ++y) {
    for (int64_t x = 0; x < 120; ++x) {
      const int64_t d = distance(60, 60, x, y);
      const auto tile = at(map, x, y);
      if (d == 39) map.landscape[tile] = LandscapeType::WATER1;
      map.heights[tile] = static_cast<uint8_t>((d < 39 ? 1 : 3) * ((x + y) % 2) + 10);
    }
  }
  const Roughness r = measureLook(map).roughness;
  EXPECT_DOUBLE_EQ(r.near, 1.0);
  EXPECT_DOUBLE_EQ(r.elsewhere, 3.0);
  ASSERT_TRUE(r.ratio.has_value());
  EXPECT_DOUBLE_EQ(*r.ratio, 1.0 / 3);
  EXPECT_GT(r.nearPairs, 4000);
  EXPECT_GT(r.elsewherePairs, 10000);

  Map flat = testing::blankMap(50);
  EXPECT_FALSE(measureLook(flat).roughness.ratio.has_value());  // no step elsewhere
}

TEST(MeasureLook, TreeGridShare) {
  struct Case {
    const char* what;
    std::function<bool(int64_t, int64_t)> tree;
    double share;
    int64_t dx, dy;
  };
  const Case cases[] = {
      {"a grid of spacing 3 over the whole map: every nearest tree lies 3 up",
       [](int64_t x, int64_t y) { return x % 3 == 0 && y % 3 == 0; }, 1.0, 0, -3},
      {"pairs 2 apart in x: half look left, half right; the tie goes to the smaller dx",
       [](int64_t x, int64_t y) { return (x % 7 == 0 || x % 7 == 2) && y % 7 == 0; }, 0.5, -2,
       0},
      {"no tree", [](int64_t, int64_t) { return false; }, 0.0, 0, 0},
  };
  for (const Case& c : cases) {
    Map map = testing::blankMap(100);
    tower(map, 0, 50, 50);
    for (int64_t y = 0; y < 100; ++y) {
      for (int64_t x = 0; x < 100; ++x) {
        if (c.tree(x, y)) map.objects[at(map, x, y)] = ObjectType::TREE_BIRCH_1;
      }
    }
    const TreeGrid grid = measureLook(map).treeGrid;
    EXPECT_DOUBLE_EQ(grid.share, c.share) << c.what;
    EXPECT_EQ(grid.dx, c.dx) << c.what;
    EXPECT_EQ(grid.dy, c.dy) << c.what;
  }
}

// 200 x 200 grass, towers at (50, 100) and (150, 100); a stone inside the
// second circle takes every farm spot whose footprint covers it.
TEST(MeasureLook, FarmSpotsPerStart) {
  Map map = testing::blankMap(200);
  tower(map, 0, 50, 100);
  tower(map, 1, 150, 100);
  map.objects[at(map, 160, 100)] = ObjectType::RES_STONE_07;
  const LargeSpots spots = measureLook(map).largeSpots;
  int64_t circle = 0;
  for (int64_t dy = -40; dy <= 40; ++dy) {
    for (int64_t dx = -40; dx <= 40; ++dx) circle += dx * dx + dy * dy < 1600;
  }
  const auto cells = static_cast<int64_t>(catalogue::buildingMeta(FARM_SPOT_KEY).blocks.size());
  EXPECT_EQ(spots.perStart, (std::vector<int64_t>{circle, circle - cells}));
  EXPECT_EQ(spots.min, circle - cells);
  EXPECT_EQ(spots.max, circle);
  EXPECT_TRUE(measureLook(testing::blankMap(50)).largeSpots.perStart.empty());
}

TEST(Report, LookBlockInTextAndJson) {
  Map map = testing::blankMap(200);
  tower(map, 0, 50, 100);
  tower(map, 1, 150, 100);
  map.objects[at(map, 160, 100)] = ObjectType::RES_STONE_07;
  map.objects[at(map, 40, 100)] = ObjectType::RES_STONE_07;
  map.objects[at(map, 60, 100)] = ObjectType::TREE_OAK_1;
  map.heights[at(map, 10, 10)] = 4;
  const mapfile::MapFile file = mapfile::readMap(testing::seal(testing::layoutOf(map)));
  const nlohmann::json json = nlohmann::json::parse(jsonReport(file, "look.map"))["look"];
  EXPECT_EQ(json["radius"], 40);
  EXPECT_DOUBLE_EQ(json["copyOverlap"]["best"].get<double>(), 0.5);  // the stones meet mirrored
  EXPECT_EQ(json["copyOverlap"]["pair"], nlohmann::json::parse("[0, 1]"));
  EXPECT_EQ(json["copyOverlap"]["diagonalBest"], 0.0);
  EXPECT_EQ(json["roughness"]["near"], 0.0);
  EXPECT_GT(json["roughness"]["elsewhere"].get<double>(), 0.0);
  EXPECT_EQ(json["roughness"]["ratio"], 0.0);
  EXPECT_EQ(json["treeGrid"]["trees"], 1);
  EXPECT_EQ(json["treeGrid"]["share"], 0.0);  // a lone tree has no nearest tree
  EXPECT_EQ(json["largeSpots"]["footprint"], FARM_SPOT_KEY);
  EXPECT_EQ(json["largeSpots"]["perStart"].size(), 2u);
  EXPECT_TRUE(json["largeSpots"]["ratio"].is_number());

  const std::string text = textReport(file, "look.map");
  for (const char* line : {
           "\nlook (within 40 tiles of the 2 towers against the rest of the map):\n",
           "\n  copy overlap: 0.50, starts 0 and 1 (",
           "\n  copy overlap turned by 45 degrees: 0.00, starts 0 and 1\n",
           "\n  roughness: near 0.00, elsewhere 0.00, near/elsewhere 0.00 (",
           "\n  tree grid: 0.00 (0 of 1 trees have their nearest tree at 0, 0)\n",
           "\n  farm spots: ",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
}

}  // namespace
}  // namespace varnholt::inspect
