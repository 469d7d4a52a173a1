// Climates of fair and symmetric maps, measured on generated maps: each
// climate's share of the land, its ground kept off the start areas, its
// border rings closed, the starts still joined on foot, and every start's
// guarantees as on any fair map.
#include "generate/climate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "expect_error.h"
#include "fair_guarantees.h"
#include "generate/fairstages.h"
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

// The land (every tile that is not water) by ground class, in tiles.
struct Shares {
  int64_t land = 0;
  int64_t grass = 0;
  int64_t desert = 0;    // desert kinds and SAND
  int64_t swamp = 0;     // moor and mud kinds
  int64_t mountain = 0;  // mountain and snow kinds
  int64_t snow = 0;

  double of(int64_t tiles) const {
    return 100.0 * static_cast<double>(tiles) / static_cast<double>(land);
  }
};

Shares sharesOf(const Map& map) {
  Shares s;
  for (LandscapeType t : map.landscape) {
    if (model::isWater(t)) continue;
    ++s.land;
    s.grass += t == LandscapeType::GRASS;
    s.desert += model::isDesert(t) || t == LandscapeType::SAND;
    s.swamp += model::isMoor(t) || isMud(t);
    s.mountain += model::isMountain(t) || model::isSnow(t);
    s.snow += model::isSnow(t);
  }
  return s;
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
      const Shares s = sharesOf(map);
      const std::string what = label(c);
      switch (climate) {
        case ClimateStyle::TEMPERATE:
          EXPECT_GE(s.of(s.grass), 55) << what;
          break;
        case ClimateStyle::DESERT:
          EXPECT_GE(s.of(s.desert), 30) << what;
          break;
        case ClimateStyle::SWAMP:
          EXPECT_GE(s.of(s.swamp), 15) << what;
          break;
        case ClimateStyle::ALPINE:
          EXPECT_GE(s.of(s.mountain), 35) << what;
          EXPECT_GE(s.of(s.snow), 4) << what;
          break;
      }
      testing::expectFairStarts(map, c);
      if (c.mode == StartMode::SYMMETRIC) testing::expectExactCopies(inspect::fairness(map), what);
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

bool joinedOnFoot(const Map& map) {
  const int64_t size = map.size;
  const auto blocks = [](LandscapeType t) {
    return model::isWater(t) || t == LandscapeType::MOORINNER || t == LandscapeType::MUDINNER ||
           t == LandscapeType::SNOWINNER;
  };
  std::vector<uint8_t> reached(map.landscape.size(), 0);
  const model::Building& first = map.buildings.front();
  std::deque<int64_t> queue = {first.posX + size * first.posY};
  reached[static_cast<size_t>(queue.front())] = 1;
  while (!queue.empty()) {
    const int64_t i = queue.front();
    queue.pop_front();
    for (int64_t dy = -1; dy <= 1; ++dy) {
      for (int64_t dx = -1; dx <= 1; ++dx) {
        const int64_t x = i % size + dx;
        const int64_t y = i / size + dy;
        if (x < 0 || y < 0 || x >= size || y >= size) continue;
        const auto n = static_cast<size_t>(x + size * y);
        if (reached[n] != 0 || blocks(map.landscape[n])) continue;
        reached[n] = 1;
        queue.push_back(static_cast<int64_t>(n));
      }
    }
  }
  for (const model::Building& tower : map.buildings) {
    if (reached[static_cast<size_t>(tower.posX + size * tower.posY)] == 0) return false;
  }
  return true;
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
      for (size_t i : nearTowers(map, generate::START_LEVEL_RADIUS - 1)) {
        const LandscapeType t = map.landscape[i];
        climateGround += model::isDesert(t) || model::isMoor(t) || isMud(t) || model::isSnow(t);
      }
      EXPECT_EQ(climateGround, 0) << what;
      EXPECT_EQ(seams(map), 0) << what;
      EXPECT_TRUE(joinedOnFoot(map)) << what;
      testing::expectFairStarts(map, c);
    }
  }
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
                       "--mountains=34 is too little for --climate=alpine, which needs "
                       "--mountains of at least 35");
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
