// Map styles, measured on generated maps: each landscape keeps what it
// promises (land masses, islands, ranges, lakes, walking between the
// starts), the water and mountain shares asked for come within 5 points,
// the starts stay fair on every style, and bad style values are refused
// naming the option and what it takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console.h"
#include "expect_error.h"
#include "fair_guarantees.h"
#include "inspect/landscape.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using model::ClimateStyle;
using model::LandscapeStyle;
using testing::Case;

Case styled(int64_t seed, int64_t size, int64_t players, LandscapeStyle landscape,
            ClimateStyle climate = ClimateStyle::TEMPERATE, StartMode mode = StartMode::FAIR,
            int32_t water = model::STYLE_DEFAULT_SHARE,
            int32_t mountains = model::STYLE_DEFAULT_SHARE) {
  Case c{seed, size, players, mode};
  c.style.landscape = landscape;
  c.style.climate = climate;
  c.style.waterPercent = water;
  c.style.mountainPercent = mountains;
  return c;
}

std::string styleLabel(const Case& c) {
  return testing::label(c) + " " + std::string(model::name(c.style.landscape)) + " water " +
         std::to_string(c.style.waterPercent) + " mountains " +
         std::to_string(c.style.mountainPercent);
}

double mountainShare(const inspect::Landscape& l) {
  return static_cast<double>(l.mountain + l.snow) / static_cast<double>(l.landTiles);
}

// What the landscape promises, what the climate promises, and every
// guarantee of the fair starts (exact copies on symmetric maps of two and
// four players).
void expectStyleKept(const model::Map& map, const Case& c) {
  const std::string what = styleLabel(c);
  const inspect::Landscape l = inspect::measureLandscape(map);
  const auto players = static_cast<size_t>(c.players);
  switch (c.style.landscape) {
    case LandscapeStyle::CONTINENT:
      EXPECT_GE(l.largestMassShare, 0.9) << what;
      EXPECT_EQ(l.landMasses.front().starts.size(), players) << what;
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
  if (c.style.landscape != LandscapeStyle::ISLANDS) {
    EXPECT_TRUE(l.startsReachableOnFoot) << what;
  }
  const auto land = static_cast<double>(l.landTiles);
  switch (c.style.climate) {
    case ClimateStyle::TEMPERATE:
      // Mountain asked for above 35 % leaves the grass the rest but shores.
      EXPECT_GE(static_cast<double>(l.grass) / land,
                std::min(0.55, 0.90 - c.style.mountainPercent / 100.0))
          << what;
      break;
    case ClimateStyle::DESERT:
      EXPECT_GE(static_cast<double>(l.desert) / land, 0.30) << what;
      break;
    case ClimateStyle::SWAMP:
      EXPECT_GE(static_cast<double>(l.swamp) / land, 0.15) << what;
      break;
    case ClimateStyle::ALPINE:
      EXPECT_GE(mountainShare(l), 0.35) << what;
      EXPECT_GE(static_cast<double>(l.snow) / land, 0.04) << what;
      break;
  }
  testing::expectFairStarts(map, c);
  if (c.mode == StartMode::SYMMETRIC && (c.players == 2 || c.players == 4)) {
    testing::expectExactCopies(inspect::fairness(map), what);
  }
}

TEST(Styles, EveryLandscapeKeepsItsPromiseAndItsFairStarts) {
  const Case cases[] = {
      styled(1, 384, 4, LandscapeStyle::CONTINENT),
      styled(2, 512, 8, LandscapeStyle::CONTINENT, ClimateStyle::SWAMP),
      styled(3, 384, 4, LandscapeStyle::ISLANDS, ClimateStyle::DESERT),
      styled(4, 512, 8, LandscapeStyle::ISLANDS),
      styled(5, 320, 8, LandscapeStyle::ISLANDS),
      styled(6, 384, 4, LandscapeStyle::HIGHLANDS, ClimateStyle::ALPINE),
      styled(7, 512, 8, LandscapeStyle::HIGHLANDS),
      styled(13, 320, 8, LandscapeStyle::HIGHLANDS),
      styled(8, 384, 4, LandscapeStyle::LAKES, ClimateStyle::SWAMP),
      styled(9, 512, 8, LandscapeStyle::LAKES, ClimateStyle::DESERT),
      styled(10, 384, 4, LandscapeStyle::ISLANDS, ClimateStyle::ALPINE, StartMode::SYMMETRIC),
      styled(11, 384, 4, LandscapeStyle::HIGHLANDS, ClimateStyle::TEMPERATE, StartMode::SYMMETRIC),
      styled(12, 384, 2, LandscapeStyle::LAKES, ClimateStyle::DESERT, StartMode::SYMMETRIC),
  };
  for (const Case& c : cases) expectStyleKept(testing::mapOf(c), c);
}

// The shares asked for, at the ends of each landscape's ranges.
TEST(Styles, WaterAndMountainSharesComeWithinFivePoints) {
  constexpr ClimateStyle kTemperate = ClimateStyle::TEMPERATE;
  const Case cases[] = {
      styled(1, 384, 4, LandscapeStyle::CONTINENT, kTemperate, StartMode::FAIR, 15, 5),
      styled(2, 384, 4, LandscapeStyle::CONTINENT, kTemperate, StartMode::FAIR, 60, 10),
      styled(3, 512, 8, LandscapeStyle::CONTINENT, kTemperate, StartMode::FAIR, 30, 45),
      styled(4, 512, 8, LandscapeStyle::ISLANDS, kTemperate, StartMode::FAIR, 75, 5),
      styled(5, 384, 4, LandscapeStyle::HIGHLANDS, kTemperate, StartMode::FAIR, 10, 60),
      styled(6, 512, 8, LandscapeStyle::LAKES, kTemperate, StartMode::FAIR, 15, 30),
      styled(7, 384, 4, LandscapeStyle::LAKES, kTemperate, StartMode::SYMMETRIC, 60, 5),
      // The sea along the frame takes a larger share of a small map.
      styled(8, 256, 4, LandscapeStyle::LAKES, kTemperate, StartMode::FAIR, 15, 10),
  };
  for (const Case& c : cases) {
    const model::Map map = testing::mapOf(c);
    const inspect::Landscape l = inspect::measureLandscape(map);
    EXPECT_NEAR(l.waterShare, c.style.waterPercent / 100.0, 0.05) << styleLabel(c);
    EXPECT_NEAR(mountainShare(l), c.style.mountainPercent / 100.0, 0.05) << styleLabel(c);
    expectStyleKept(map, c);
  }
}

TEST(Styles, SharesOutOfRangeOrOutOfReachAreRefused) {
  constexpr ClimateStyle kTemperate = ClimateStyle::TEMPERATE;
  constexpr int32_t kOwn = model::STYLE_DEFAULT_SHARE;
  struct Refusal {
    Case c;
    const char* kind;
    const char* message;
  };
  const Refusal refusals[] = {
      {styled(1, 384, 4, LandscapeStyle::ISLANDS, kTemperate, StartMode::FAIR, 10), "ValueError",
       "--water takes 30 to 75 on islands, not 10"},
      {styled(1, 384, 4, LandscapeStyle::CONTINENT, kTemperate, StartMode::FAIR, 61), "ValueError",
       "--water takes 15 to 60 on continent, not 61"},
      {styled(1, 384, 4, LandscapeStyle::HIGHLANDS, kTemperate, StartMode::FAIR, kOwn, 20),
       "ValueError", "--mountains takes 30 to 60 on highlands, not 20"},
      {styled(1, 320, 8, LandscapeStyle::ISLANDS, kTemperate, StartMode::FAIR, 75), "Exception",
       "Map too small for islands with 75 % water and 15 % mountains at size 320 with 8 starts "
       "(it makes 35 % water and 5 % mountains)"},
  };
  for (const Refusal& r : refusals) {
    testing::expectError([&] { testing::mapOf(r.c); }, r.kind, r.message);
  }
}

// setOption reads the style as the command line and the page give it; a
// style option makes a classic request fair and leaves a symmetric one.
TEST(Styles, SetOptionReadsTheStyle) {
  GenerateOptions options;
  setOption(options, "landscape", "islands");
  setOption(options, "climate", "swamp");
  setOption(options, "water", "40");
  setOption(options, "mountains", "20");
  setOption(options, "resources", "high");
  EXPECT_EQ(options.mode, StartMode::FAIR);
  EXPECT_EQ(options.style.landscape, LandscapeStyle::ISLANDS);
  EXPECT_EQ(options.style.climate, ClimateStyle::SWAMP);
  EXPECT_EQ(options.style.waterPercent, 40);
  EXPECT_EQ(options.style.mountainPercent, 20);
  EXPECT_EQ(options.style.resources, model::ResourceAmount::HIGH);

  GenerateOptions symmetric;
  setOption(symmetric, "starts", "symmetric");
  setOption(symmetric, "landscape", "lakes");
  EXPECT_EQ(symmetric.mode, StartMode::SYMMETRIC);

  GenerateOptions untouched;
  testing::expectError([&] { setOption(untouched, "landscape", "hills"); }, "ValueError",
                       "--landscape takes continent, islands, highlands or lakes, not 'hills'");
  EXPECT_EQ(untouched.mode, StartMode::CLASSIC);
  EXPECT_EQ(untouched.style.landscape, LandscapeStyle::CONTINENT);
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
