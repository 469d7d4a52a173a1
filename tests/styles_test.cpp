// Map styles, measured on generated maps: each landscape keeps what it
// promises (land masses, islands, ranges, lakes, walking between the
// starts), the water and mountain shares asked for come within 5 points,
// the starts stay fair on every style, and bad style values are refused
// naming the option and what it takes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "console.h"
#include "expect_error.h"
#include "inspect/landscape.h"
#include "varnholt.h"

namespace varnholt {
namespace {

using inspect::Column;
using model::ClimateStyle;
using model::LandscapeStyle;

struct StyledCase {
  int64_t seed;
  int64_t size;
  int64_t players;
  LandscapeStyle landscape;
  StartMode mode = StartMode::FAIR;
  int32_t water = model::STYLE_DEFAULT_SHARE;
  int32_t mountains = model::STYLE_DEFAULT_SHARE;
};

std::string label(const StyledCase& c) {
  return std::string(model::name(c.landscape)) + (c.mode == StartMode::SYMMETRIC ? " symmetric" : "") +
         " seed " + std::to_string(c.seed) + " " + std::to_string(c.size) + "/" +
         std::to_string(c.players) + " water " + std::to_string(c.water) + " mountains " +
         std::to_string(c.mountains);
}

model::Map mapOf(const StyledCase& c) {
  GenerateOptions options;
  options.seed = c.seed;
  options.size = c.size;
  options.playerCount = c.players;
  options.mode = c.mode;
  options.style.landscape = c.landscape;
  options.style.waterPercent = c.water;
  options.style.mountainPercent = c.mountains;
  return generateMap(options, testing::quiet);
}

double mountainShare(const inspect::Landscape& l) {
  return static_cast<double>(l.mountain + l.snow) / static_cast<double>(l.landTiles);
}

double ratio(const inspect::Fairness& f, Column column) {
  const inspect::Spread& s = f.spread[static_cast<size_t>(column)];
  return s.min == 0 ? INFINITY : static_cast<double>(s.max) / static_cast<double>(s.min);
}

// What every landscape promises, and the fairness of its starts.
void expectLandscapeKept(const model::Map& map, const StyledCase& c) {
  const std::string what = label(c);
  const inspect::Landscape l = inspect::measureLandscape(map);
  switch (c.landscape) {
    case LandscapeStyle::CONTINENT:
      EXPECT_GE(l.largestMassShare, 0.9) << what;
      EXPECT_EQ(l.landMasses.front().starts.size(), static_cast<size_t>(c.players)) << what;
      break;
    case LandscapeStyle::ISLANDS:
      for (const inspect::LandMass& mass : l.landMasses) EXPECT_LE(mass.starts.size(), 1u) << what;
      break;
    case LandscapeStyle::HIGHLANDS:
      EXPECT_GE(mountainShare(l), 0.30) << what;
      EXPECT_GT(l.snow, 0) << what;
      break;
    case LandscapeStyle::LAKES:
      EXPECT_GE(l.inlandLakeShare, 0.10) << what;
      EXPECT_GE(l.inlandLakes, c.players) << what;
      break;
  }
  if (c.landscape != LandscapeStyle::ISLANDS) {
    EXPECT_TRUE(l.startsReachableOnFoot) << what;
  }

  const inspect::Fairness f = fairness(map);
  ASSERT_EQ(static_cast<int64_t>(f.rows.size()), c.players) << what;
  for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE}) {
    EXPECT_LE(ratio(f, column), 1.15) << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  }
  for (Column column : {Column::MOUNTAIN, Column::COAL, Column::IRON, Column::GOLD, Column::RIVAL}) {
    EXPECT_LE(ratio(f, column), 1.25) << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  }
  EXPECT_LE(ratio(f, Column::FISH), 2.0) << what;
  EXPECT_GE(f.spread[static_cast<size_t>(Column::LARGE)].min, 300) << what;
  EXPECT_GE(f.spread[static_cast<size_t>(Column::TREES)].min, 60) << what;
  EXPECT_GE(f.spread[static_cast<size_t>(Column::STONES)].min, 15) << what;
}

TEST(Styles, EveryLandscapeKeepsItsPromiseAndItsFairStarts) {
  const StyledCase cases[] = {
      {1, 384, 4, LandscapeStyle::CONTINENT},  {2, 512, 8, LandscapeStyle::CONTINENT},
      {3, 384, 4, LandscapeStyle::ISLANDS},    {4, 512, 8, LandscapeStyle::ISLANDS},
      {5, 320, 8, LandscapeStyle::ISLANDS},    {6, 384, 4, LandscapeStyle::HIGHLANDS},
      {7, 512, 8, LandscapeStyle::HIGHLANDS},  {8, 384, 4, LandscapeStyle::LAKES},
      {9, 512, 8, LandscapeStyle::LAKES},      {10, 384, 4, LandscapeStyle::ISLANDS, StartMode::SYMMETRIC},
      {11, 384, 4, LandscapeStyle::HIGHLANDS, StartMode::SYMMETRIC},
      {12, 384, 2, LandscapeStyle::LAKES, StartMode::SYMMETRIC},
  };
  for (const StyledCase& c : cases) expectLandscapeKept(mapOf(c), c);
}

// The shares asked for, at the ends of each landscape's ranges.
TEST(Styles, WaterAndMountainSharesComeWithinFivePoints) {
  const StyledCase cases[] = {
      {1, 384, 4, LandscapeStyle::CONTINENT, StartMode::FAIR, 15, 5},
      {2, 384, 4, LandscapeStyle::CONTINENT, StartMode::FAIR, 60, 10},
      {3, 512, 8, LandscapeStyle::CONTINENT, StartMode::FAIR, 30, 45},
      {4, 512, 8, LandscapeStyle::ISLANDS, StartMode::FAIR, 75, 5},
      {5, 384, 4, LandscapeStyle::HIGHLANDS, StartMode::FAIR, 10, 60},
      {6, 512, 8, LandscapeStyle::LAKES, StartMode::FAIR, 15, 30},
      {7, 384, 4, LandscapeStyle::LAKES, StartMode::SYMMETRIC, 60, 5},
  };
  for (const StyledCase& c : cases) {
    const model::Map map = mapOf(c);
    const inspect::Landscape l = inspect::measureLandscape(map);
    EXPECT_NEAR(l.waterShare, c.water / 100.0, 0.05) << label(c);
    EXPECT_NEAR(mountainShare(l), c.mountains / 100.0, 0.05) << label(c);
    expectLandscapeKept(map, c);
  }
}

TEST(Styles, SharesOutOfRangeOrOutOfReachAreRefused) {
  struct Refusal {
    StyledCase c;
    const char* kind;
    const char* message;
  };
  const Refusal refusals[] = {
      {{1, 384, 4, LandscapeStyle::ISLANDS, StartMode::FAIR, 10},
       "ValueError",
       "--water takes 30 to 75 on islands, not 10"},
      {{1, 384, 4, LandscapeStyle::CONTINENT, StartMode::FAIR, 61},
       "ValueError",
       "--water takes 15 to 60 on continent, not 61"},
      {{1, 384, 4, LandscapeStyle::HIGHLANDS, StartMode::FAIR, model::STYLE_DEFAULT_SHARE, 20},
       "ValueError",
       "--mountains takes 30 to 60 on highlands, not 20"},
      {{1, 320, 8, LandscapeStyle::ISLANDS, StartMode::FAIR, 75},
       "Exception",
       "Map too small for islands with 75 % water and 15 % mountains at size 320 with 8 starts "
       "(it makes 36 % water and 4 % mountains)"},
  };
  for (const Refusal& r : refusals) {
    testing::expectError([&] { mapOf(r.c); }, r.kind, r.message);
  }
}

TEST(Styles, OptionValuesAreReadByName) {
  EXPECT_EQ(model::parseLandscape("lakes"), LandscapeStyle::LAKES);
  EXPECT_EQ(model::parseClimate("alpine"), ClimateStyle::ALPINE);
  EXPECT_EQ(model::parseResourceAmount("high"), model::ResourceAmount::HIGH);
  EXPECT_EQ(model::parsePercent("--water", "0"), 0);
  EXPECT_EQ(model::parsePercent("--water", "100"), 100);
  testing::expectError([] { model::parseLandscape("Islands"); }, "ValueError",
                       "--landscape takes continent, islands, highlands or lakes, not 'Islands'");
  testing::expectError([] { model::parseClimate(""); }, "ValueError",
                       "--climate takes temperate, desert, swamp or alpine, not ''");
  testing::expectError([] { model::parseResourceAmount("lots"); }, "ValueError",
                       "--resources takes low, normal or high, not 'lots'");
  for (const char* text : {"101", "-5", "4.5", "12abc", "+10", "0100"}) {
    testing::expectError([&] { model::parsePercent("--mountains", text); }, "ValueError",
                         std::string("--mountains takes a whole percent, not '") + text + "'");
  }
}

}  // namespace
}  // namespace varnholt
