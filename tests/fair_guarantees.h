#pragma once

// The guarantees every start of a fair or symmetric map keeps, checked
// through the inspector's fairness table: building spots, wood and stone,
// mountain, ore and fish within bounds of each other and above the least
// a start needs, the rivals apart, the tower on grass and off the edge, and
// the player start on the tower.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "console.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt::testing {

using inspect::Column;
using inspect::Fairness;
using inspect::FairnessRow;

struct Case {
  int64_t seed;
  int64_t size;
  int64_t players;
  StartMode mode;
  model::MapStyle style = {};
};

inline std::string label(const Case& c) {
  constexpr const char* kClimates[] = {"temperate", "desert", "swamp", "alpine"};
  constexpr const char* kAmounts[] = {"low", "normal", "high"};
  return std::string(c.mode == StartMode::FAIR ? "--fair" : "--symmetric") + " seed " +
         std::to_string(c.seed) + " " + std::to_string(c.size) + "/" + std::to_string(c.players) +
         " " + kClimates[static_cast<size_t>(c.style.climate)] + " " +
         kAmounts[static_cast<size_t>(c.style.resources)];
}

inline model::Map mapOf(const Case& c) {
  GenerateOptions options;
  options.seed = c.seed;
  options.size = c.size;
  options.playerCount = c.players;
  options.mode = c.mode;
  options.style = c.style;
  return generateMap(options, quiet);
}

inline const inspect::Spread& spread(const Fairness& f, Column column) {
  return f.spread[static_cast<size_t>(column)];
}

inline void expectRatioAtMost(const Fairness& f, Column column, double ratio,
                              const std::string& what) {
  const inspect::Spread& s = spread(f, column);
  EXPECT_GT(s.min, 0) << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  EXPECT_LE(static_cast<double>(s.max), ratio * static_cast<double>(s.min))
      << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)] << " " << s.max << "/"
      << s.min;
}

inline void expectAtLeast(const Fairness& f, Column column, int64_t least,
                          const std::string& what) {
  EXPECT_GE(spread(f, column).min, least)
      << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
}

inline void expectFairStarts(const model::Map& map, const Case& c) {
  const std::string what = label(c);
  const Fairness f = inspect::fairness(map);
  ASSERT_TRUE(f.fromTowers) << what;
  ASSERT_EQ(static_cast<int64_t>(f.rows.size()), c.players) << what;
  expectAtLeast(f, Column::SMALL, 800, what);
  expectAtLeast(f, Column::MEDIUM, 500, what);
  expectAtLeast(f, Column::LARGE, 300, what);
  expectAtLeast(f, Column::STONECUTTER, 10, what);
  expectAtLeast(f, Column::WOODCUTTER, 10, what);
  expectAtLeast(f, Column::TREES, 60, what);
  expectAtLeast(f, Column::STONES, 15, what);
  for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE}) {
    expectRatioAtMost(f, column, 1.15, what);
  }
  for (Column column : {Column::TREES, Column::STONES}) expectRatioAtMost(f, column, 1.10, what);
  for (Column column : {Column::MOUNTAIN, Column::COAL, Column::IRON, Column::GOLD}) {
    expectRatioAtMost(f, column, 1.25, what);
  }
  expectRatioAtMost(f, Column::FISH, 2.0, what);
  // On team maps the nearest other start is a mate; the rule for the
  // nearest opponent is the team tests'.
  if (c.style.teams.count == 0) {
    expectRatioAtMost(f, Column::RIVAL, 1.25, what);
    const double spacing =
        0.8 * static_cast<double>(c.size) / std::sqrt(static_cast<double>(c.players));
    EXPECT_GE(static_cast<double>(spread(f, Column::RIVAL).min), std::floor(spacing)) << what;
  }

  const int64_t size = map.size;
  const model::BuildingMeta& tower = catalogue::buildingMeta(catalogue::TOWER_META_KEY);
  for (const FairnessRow& r : f.rows) {
    const int64_t x = r.spot.x;
    const int64_t y = r.spot.y;
    EXPECT_GE(std::min({x, y, size - 1 - x, size - 1 - y}), 52)
        << what << " party " << +r.spot.party;
    for (const model::BuildingMetaBlock& cell : tower.blocks) {
      EXPECT_EQ(map.landscape[static_cast<size_t>(x + cell.xOffset + size * (y + cell.yOffset))],
                model::LandscapeType::GRASS)
          << what << " party " << +r.spot.party;
    }
    ASSERT_LT(r.spot.party, map.players.size());
    EXPECT_EQ(map.players[r.spot.party].startX, x) << what;
    EXPECT_EQ(map.players[r.spot.party].startY, y) << what;
  }
}

// The starts of a symmetric map of two or four players are exact copies:
// columns that count tiles or amounts agree exactly; building spots nearly,
// since footprints are not symmetric and the goods piles are laid
// nearest-first.
inline void expectExactCopies(const Fairness& f, const std::string& what) {
  for (Column column :
       {Column::CLAIMED, Column::BUILDABLE, Column::TREES, Column::STONES, Column::MOUNTAIN,
        Column::COAL, Column::IRON, Column::GOLD, Column::GEMS, Column::SULFUR, Column::WATER,
        Column::FISH, Column::PILES, Column::GOODS, Column::SETTLERS, Column::RIVAL}) {
    EXPECT_EQ(spread(f, column).min, spread(f, column).max)
        << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  }
  for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE}) {
    expectRatioAtMost(f, column, 1.05, what);
  }
}

}  // namespace varnholt::testing
