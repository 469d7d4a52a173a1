// Resource amounts of fair and symmetric maps: high gives at least 1.6 times
// and low at most 0.6 times what normal gives, of every mineral, fish, trees
// and stones, over the whole map and within every start, with every start's
// guarantees kept.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fair_guarantees.h"
#include "inspect/landscape.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using inspect::Column;
using model::ResourceAmount;
using testing::Case;
using testing::label;
using testing::mapOf;

// Whole-map totals, as the inspector measures them.
constexpr std::array<const char*, 8> kTotalNames = {"coal",   "iron", "gold",  "gems",
                                                    "sulfur", "fish", "trees", "stones"};

std::array<int64_t, 8> totals(const model::Map& map) {
  const inspect::Landscape l = inspect::measureLandscape(map);
  return {l.coal, l.iron, l.gold, l.gems, l.sulfur, l.fish, l.trees, l.stones};
}

// The per-start columns the amounts scale. Gems are left out: the start
// areas' mountains hold none.
constexpr std::array<Column, 7> kStartColumns = {Column::TREES, Column::STONES, Column::COAL,
                                                 Column::IRON,  Column::GOLD,   Column::SULFUR,
                                                 Column::FISH};

Case withAmount(Case c, ResourceAmount amount) {
  c.style.resources = amount;
  return c;
}

TEST(ResourceAmounts, HighAndLowScaleTheWholeMapAndEveryStart) {
  const Case cases[] = {
      {31, 384, 4, StartMode::FAIR},
      {32, 512, 8, StartMode::FAIR},
      {33, 320, 8, StartMode::FAIR},
      {34, 384, 4, StartMode::SYMMETRIC},
      {35, 384, 4, StartMode::FAIR, {.climate = model::ClimateStyle::DESERT}},
      {36, 384, 4, StartMode::FAIR, {.climate = model::ClimateStyle::ALPINE}},
      // Crowded desert: the land beyond the start areas holds few trees.
      {37, 320, 8, StartMode::FAIR, {.climate = model::ClimateStyle::DESERT}},
  };
  for (const Case& c : cases) {
    const model::Map low = mapOf(withAmount(c, ResourceAmount::LOW));
    const model::Map normal = mapOf(withAmount(c, ResourceAmount::NORMAL));
    const model::Map high = mapOf(withAmount(c, ResourceAmount::HIGH));
    const std::string what = label(c);
    const std::array<int64_t, 8> lowTotals = totals(low);
    const std::array<int64_t, 8> normalTotals = totals(normal);
    const std::array<int64_t, 8> highTotals = totals(high);
    for (size_t k = 0; k < kTotalNames.size(); ++k) {
      EXPECT_GT(normalTotals[k], 0) << what << " " << kTotalNames[k];
      EXPECT_GE(highTotals[k], 1.6 * static_cast<double>(normalTotals[k]))
          << what << " whole map " << kTotalNames[k];
      EXPECT_LE(lowTotals[k], 0.6 * static_cast<double>(normalTotals[k]))
          << what << " whole map " << kTotalNames[k];
    }
    const inspect::Fairness lowStarts = inspect::fairness(low);
    const inspect::Fairness normalStarts = inspect::fairness(normal);
    const inspect::Fairness highStarts = inspect::fairness(high);
    ASSERT_EQ(lowStarts.rows.size(), normalStarts.rows.size()) << what;
    ASSERT_EQ(highStarts.rows.size(), normalStarts.rows.size()) << what;
    for (size_t r = 0; r < normalStarts.rows.size(); ++r) {
      for (Column column : kStartColumns) {
        const auto name = inspect::COLUMN_NAMES[static_cast<size_t>(column)];
        const auto n = static_cast<double>(normalStarts.rows[r][column]);
        EXPECT_GT(n, 0) << what << " start " << r << " " << name;
        EXPECT_GE(static_cast<double>(highStarts.rows[r][column]), 1.6 * n)
            << what << " start " << r << " " << name;
        EXPECT_LE(static_cast<double>(lowStarts.rows[r][column]), 0.6 * n)
            << what << " start " << r << " " << name;
      }
    }
    for (const auto& [map, amount] :
         {std::pair{&low, ResourceAmount::LOW}, std::pair{&normal, ResourceAmount::NORMAL},
          std::pair{&high, ResourceAmount::HIGH}}) {
      testing::expectFairStarts(*map, withAmount(c, amount));
    }
  }
}

// Every start gets exactly its trees and stones: 160 trees and 40 stones
// find room in the start area as 60 and 15 do.
TEST(ResourceAmounts, EveryStartHoldsItsTreesAndStones) {
  struct Expected {
    ResourceAmount amount;
    int64_t trees;
    int64_t stones;
  };
  for (const Expected& e :
       {Expected{ResourceAmount::LOW, 60, 15}, Expected{ResourceAmount::NORMAL, 100, 25},
        Expected{ResourceAmount::HIGH, 160, 40}}) {
    for (Case c : {Case{41, 320, 8, StartMode::FAIR}, Case{42, 640, 12, StartMode::SYMMETRIC},
                   Case{43, 384, 4, StartMode::FAIR, {.climate = model::ClimateStyle::DESERT}}}) {
      c.style.resources = e.amount;
      const inspect::Fairness f = inspect::fairness(mapOf(c));
      for (const inspect::FairnessRow& row : f.rows) {
        EXPECT_EQ(row[Column::TREES], e.trees) << label(c);
        EXPECT_EQ(row[Column::STONES], e.stones) << label(c);
      }
    }
  }
}

}  // namespace
}  // namespace varnholt
