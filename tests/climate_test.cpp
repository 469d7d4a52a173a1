// Climates of fair and symmetric maps, measured on generated maps: each
// climate's share of the land, its ground kept off the start areas, its
// border rings closed, the starts still joined on foot, and every start's
// guarantees as on any fair map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expect_error.h"
#include "fair_guarantees.h"
#include "generate/climate.h"
#include "generate/climatefields.h"
#include "generate/fairstages.h"
#include "inspect/landscape.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using model::ClimateStyle;
using model::LandscapeType;
using model::Map;
using testing::Case;
using testing::label;
using testing::mapOf;

bool isMud(LandscapeType t) {
  return t == LandscapeType::MUDINNER || t == LandscapeType::MUD || t == LandscapeType::MUDBORDER;
}

Case styled(int64_t seed, int64_t size, int64_t players, StartMode mode, ClimateStyle climate) {
  Case c{seed, size, players, mode};
  c.style.climate = climate;
  return c;
}

// Every climate on maps with room beyond the start areas: its share of the
// land, and every start's guarantees.
TEST(Climates, EachReachesItsShareAndKeepsEveryStartFair) {
  for (ClimateStyle climate :
       {ClimateStyle::TEMPERATE, ClimateStyle::DESERT, ClimateStyle::SWAMP, ClimateStyle::ALPINE}) {
    for (const Case& c :
         {styled(1, 384, 4, StartMode::FAIR, climate), styled(2, 384, 4, StartMode::FAIR, climate),
          styled(3, 512, 8, StartMode::FAIR, climate), styled(4, 512, 8, StartMode::FAIR, climate),
          styled(5, 384, 4, StartMode::SYMMETRIC, climate),
          styled(6, 512, 2, StartMode::SYMMETRIC, climate)}) {
      const Map map = mapOf(c);
      const inspect::Landscape l = inspect::measureLandscape(map);
      const std::string what = label(c);
      const auto percent = [&l](int64_t tiles) { return 100 * inspect::landShare(l, tiles); };
      switch (climate) {
        case ClimateStyle::TEMPERATE:
          EXPECT_GE(percent(l.grass), 55) << what;
          break;
        case ClimateStyle::DESERT:
          EXPECT_GE(percent(l.desert), 30) << what;
          break;
        case ClimateStyle::SWAMP:
          EXPECT_GE(percent(l.swamp), 15) << what;
          break;
        case ClimateStyle::ALPINE:
          EXPECT_GE(percent(l.mountain + l.snow), 35) << what;
          EXPECT_GE(percent(l.snow), 4) << what;
          break;
      }
      testing::expectFairStarts(map, c);
      if (c.mode == StartMode::SYMMETRIC) testing::expectExactCopies(inspect::fairness(map), what);
      if (c.mode == StartMode::SYMMETRIC && c.players == 2) {
        // The climate's ground too: the point reflection carries every
        // tile's ground onto its image.
        const size_t tiles = map.landscape.size();
        size_t differing = 0;
        for (size_t i = 0; i < tiles; ++i) {
          differing += map.landscape[i] != map.landscape[tiles - 1 - i];
        }
        EXPECT_EQ(differing, 0u) << what;
      }
    }
  }
}

// The tiles of map within radius of a tower.
std::vector<size_t> nearTowers(const Map& map, int64_t radius) {
  const int64_t size = map.size;
  std::vector<size_t> tiles;
  for (const model::Building& tower : map.buildings) {
    for (int64_t y = tower.posY - radius; y <= tower.posY + radius; ++y) {
      for (int64_t x = tower.posX - radius; x <= tower.posX + radius; ++x) {
        const int64_t dx = x - tower.posX;
        const int64_t dy = y - tower.posY;
        if (dx * dx + dy * dy < radius * radius) tiles.push_back(static_cast<size_t>(x + size * y));
      }
    }
  }
  return tiles;
}

// The ground a tile of an inner kind may have beside it: its own family, so
// every patch is closed by its border rings.
bool closedBeside(LandscapeType inner, LandscapeType beside) {
  switch (inner) {
    case LandscapeType::DESERT:
      return beside == LandscapeType::DESERT || beside == LandscapeType::DESERTBORDER;
    case LandscapeType::MOORINNER:
    case LandscapeType::MOOR:
      return model::isMoor(beside);
    case LandscapeType::MUDINNER:
    case LandscapeType::MUD:
      return isMud(beside);
    case LandscapeType::SNOWINNER:
    case LandscapeType::SNOW:
      return model::isSnow(beside);
    default:
      return true;
  }
}

// Seams: an inner tile of desert, moor, mud or snow beside ground of another
// family, with no border ring between.
int64_t seams(const Map& map) {
  const int64_t size = map.size;
  int64_t found = 0;
  for (int64_t y = 1; y + 1 < size; ++y) {
    for (int64_t x = 1; x + 1 < size; ++x) {
      const LandscapeType t = map.landscape[static_cast<size_t>(x + size * y)];
      for (int64_t dy = -1; dy <= 1; ++dy) {
        for (int64_t dx = -1; dx <= 1; ++dx) {
          found += !closedBeside(t, map.landscape[static_cast<size_t>(x + dx + size * (y + dy))]);
        }
      }
    }
  }
  return found;
}

// On a crowded map the start areas hold most of the land: the climate takes
// the land beyond them and leaves the start areas as the fair stages lay
// them out. Its patches are ringed, and the starts stay joined on foot.
TEST(Climates, GroundStaysOffTheStartAreasWithClosedRingsAndStartsJoined) {
  for (ClimateStyle climate : {ClimateStyle::DESERT, ClimateStyle::SWAMP, ClimateStyle::ALPINE}) {
    for (const Case& c :
         {styled(7, 320, 8, StartMode::FAIR, climate), styled(8, 384, 4, StartMode::FAIR, climate),
          styled(9, 320, 8, StartMode::SYMMETRIC, climate),
          styled(10, 384, 4, StartMode::SYMMETRIC, climate)}) {
      const Map map = mapOf(c);
      const std::string what = label(c);
      int64_t climateGround = 0;
      for (size_t i : nearTowers(map, generate::START_LEVEL_RADIUS)) {
        const LandscapeType t = map.landscape[i];
        // The outer ring of the landscape stage's own desert beyond may
        // reach in by a diagonal step; the climate's keeps off.
        climateGround += t == LandscapeType::DESERT || t == LandscapeType::DESERTBORDER ||
                         model::isMoor(t) || isMud(t) || model::isSnow(t);
      }
      EXPECT_EQ(climateGround, 0) << what;
      EXPECT_EQ(seams(map), 0) << what;
      EXPECT_TRUE(inspect::measureLandscape(map).startsReachableOnFoot) << what;
      testing::expectFairStarts(map, c);
    }
  }
}

// A 9 x 9 field, all walkable: starts A (1, 1), B (7, 1) and C (4, 7). A
// wall along row 4 parts C from A and B; a second wall down column 4 above
// it then parts A from B. Starts already apart before (as on islands) are
// no split.
TEST(ClimateFields, SplitsCountOnlyBetweenStartsThatWereJoined) {
  constexpr int64_t kSize = 9;
  const std::vector<generate::FairStart> starts = {{1, 1}, {7, 1}, {4, 7}};
  const std::vector<uint8_t> open(kSize * kSize, 1);
  std::vector<uint8_t> row = open;
  for (int64_t x = 0; x < kSize; ++x) row[static_cast<size_t>(x + kSize * 4)] = 0;
  std::vector<uint8_t> rowAndColumn = row;
  for (int64_t y = 0; y < 4; ++y) rowAndColumn[static_cast<size_t>(4 + kSize * y)] = 0;
  EXPECT_FALSE(generate::splitsStarts(kSize, open, open, starts));
  EXPECT_TRUE(generate::splitsStarts(kSize, open, row, starts));
  EXPECT_FALSE(generate::splitsStarts(kSize, row, row, starts));
  EXPECT_TRUE(generate::splitsStarts(kSize, row, rowAndColumn, starts));

  // The footpaths over the field with the row wall join A and B, and alone
  // (with a tile of room on either side) keep them joined; below the wall
  // only C and the tiles beside it are marked.
  const std::vector<uint8_t> path =
      generate::footpaths(kSize, row, starts, generate::StartSymmetry::NONE);
  std::vector<uint8_t> onlyPaths(path.size(), 0);
  for (size_t i = 0; i < path.size(); ++i) onlyPaths[i] = path[i] != 0 && row[i] != 0;
  EXPECT_FALSE(generate::splitsStarts(kSize, row, onlyPaths, starts));
  EXPECT_EQ(path[static_cast<size_t>(1 + kSize * 7)], 0);
}

TEST(Climates, DesertWoodsAreMostlyPalms) {
  const Map map = mapOf(styled(11, 384, 4, StartMode::FAIR, ClimateStyle::DESERT));
  int64_t trees = 0;
  int64_t palms = 0;
  for (model::ObjectType object : map.objects) {
    trees += model::isTree(object);
    palms += object == model::ObjectType::TREE_ARECACEAE_1 ||
             object == model::ObjectType::TREE_ARECACEAE_2;
  }
  EXPECT_GT(trees, 0);
  EXPECT_GE(2 * palms, trees);
}

TEST(Climates, AlpineRefusesTooLittleMountain) {
  model::MapStyle style;
  style.climate = ClimateStyle::ALPINE;
  style.mountainPercent = 34;
  testing::expectError([&] { generate::validateStyle(style); }, "ValueError",
                       "--mountains takes at least 35 with --climate=alpine, not 34");
  for (int32_t share : {model::STYLE_DEFAULT_SHARE, 35, 60}) {
    style.mountainPercent = share;
    EXPECT_NO_THROW(generate::validateStyle(style)) << share;
  }
  style.climate = ClimateStyle::SWAMP;
  style.mountainPercent = 5;
  EXPECT_NO_THROW(generate::validateStyle(style));
}

}  // namespace
}  // namespace varnholt
