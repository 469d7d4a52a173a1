// Fair starts drawn from the map's own terrain, measured as a player sees
// them by the inspector's look block: no start is a turned or mirrored copy
// of another, the ground near the towers rolls like the land elsewhere, the
// trees do not stand in a grid, the room for the largest buildings is even,
// and symmetric maps are as rough as classic ones.
#include <gtest/gtest.h>

#include <string>

#include "fair_guarantees.h"
#include "inspect/look.h"

namespace varnholt::testing {
namespace {

using model::ClimateStyle;
using model::LandscapeStyle;

double landRoughness(const inspect::Roughness& r) {
  const auto pairs = static_cast<double>(r.nearPairs + r.elsewherePairs);
  return (r.near * static_cast<double>(r.nearPairs) +
          r.elsewhere * static_cast<double>(r.elsewherePairs)) /
         pairs;
}

TEST(NaturalStarts, FairStartsLookLikeTheRestOfTheMap) {
  const Case cases[] = {
      {1, 384, 4, StartMode::FAIR, {}},
      {2, 384, 4, StartMode::FAIR, {.landscape = LandscapeStyle::ISLANDS}},
      {3, 384, 4, StartMode::FAIR,
       {.landscape = LandscapeStyle::HIGHLANDS, .climate = ClimateStyle::ALPINE}},
      {4, 384, 4, StartMode::FAIR,
       {.landscape = LandscapeStyle::LAKES, .climate = ClimateStyle::DESERT}},
      {5, 512, 8, StartMode::FAIR, {.climate = ClimateStyle::SWAMP}},
      // Crowded maps, where the starts' mountains once grew into near copies
      // of each other (0.50 and 0.50 before the shapes were chosen apart).
      {8, 512, 8, StartMode::FAIR, {}},
      {8, 512, 8, StartMode::FAIR,
       {.landscape = LandscapeStyle::ISLANDS, .climate = ClimateStyle::ALPINE}},
  };
  for (const Case& c : cases) {
    const model::Map map = mapOf(c);
    const inspect::Look look = inspect::measureLook(map);
    const std::string what = label(c);
    for (const inspect::BestPair& best : {look.copyOverlap.turns, look.copyOverlap.diagonalTurns}) {
      EXPECT_LE(best.overlap, 0.5) << what << " starts " << best.first << " and " << best.second;
    }
    ASSERT_TRUE(look.roughness.ratio.has_value()) << what;
    EXPECT_GE(*look.roughness.ratio, 0.6) << what;
    EXPECT_LE(look.treeGrid.share, 0.35) << what;
    EXPECT_LE(static_cast<double>(look.largeSpots.max), 1.3 * static_cast<double>(look.largeSpots.min))
        << what << " " << look.largeSpots.max << "/" << look.largeSpots.min;
    expectFairStarts(map, c);
  }
}

TEST(NaturalStarts, SymmetricMapsAreAsRoughAsClassicOnes) {
  const Case cases[] = {
      {1, 384, 4, StartMode::SYMMETRIC, {}},
      {2, 384, 4, StartMode::SYMMETRIC,
       {.landscape = LandscapeStyle::HIGHLANDS, .climate = ClimateStyle::ALPINE}},
      {3, 320, 2, StartMode::SYMMETRIC, {.landscape = LandscapeStyle::LAKES}},
  };
  for (const Case& c : cases) {
    const inspect::Look symmetric = inspect::measureLook(mapOf(c));
    const inspect::Look classic =
        inspect::measureLook(mapOf({c.seed, c.size, c.players, StartMode::CLASSIC}));
    EXPECT_GE(landRoughness(symmetric.roughness), 0.75 * landRoughness(classic.roughness))
        << label(c);
    EXPECT_LE(symmetric.treeGrid.share, 0.35) << label(c);
  }
}

}  // namespace
}  // namespace varnholt::testing
