// Fair and symmetric maps, checked through the inspector's fairness table:
// every start of every map in the table meets the guarantees of --fair, the
// starts of symmetric maps are exact copies, bad requests fail cleanly, and
// the same options give the same bytes on any number of threads.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "console.h"
#include "expect_error.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using inspect::Column;
using inspect::Fairness;
using inspect::FairnessRow;

struct Case {
  int64_t seed;
  int64_t size;
  int64_t players;
  StartMode mode;
};

std::string label(const Case& c) {
  return std::string(c.mode == StartMode::FAIR ? "--fair" : "--symmetric") + " seed " +
         std::to_string(c.seed) + " " + std::to_string(c.size) + "/" + std::to_string(c.players);
}

model::Map mapOf(const Case& c) {
  GenerateOptions options;
  options.seed = c.seed;
  options.size = c.size;
  options.playerCount = c.players;
  options.mode = c.mode;
  return generateMap(options, testing::quiet);
}

const inspect::Spread& spread(const Fairness& f, Column column) {
  return f.spread[static_cast<size_t>(column)];
}

void expectRatioAtMost(const Fairness& f, Column column, double ratio, const std::string& what) {
  const inspect::Spread& s = spread(f, column);
  EXPECT_GT(s.min, 0) << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  EXPECT_LE(static_cast<double>(s.max), ratio * static_cast<double>(s.min))
      << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)] << " " << s.max << "/"
      << s.min;
}

void expectAtLeast(const Fairness& f, Column column, int64_t least, const std::string& what) {
  EXPECT_GE(spread(f, column).min, least)
      << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
}

void expectFairStarts(const model::Map& map, const Case& c) {
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
  expectRatioAtMost(f, Column::RIVAL, 1.25, what);
  const double spacing =
      0.8 * static_cast<double>(c.size) / std::sqrt(static_cast<double>(c.players));
  EXPECT_GE(static_cast<double>(spread(f, Column::RIVAL).min), std::floor(spacing)) << what;

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

TEST(FairMaps, EveryStartMeetsTheGuarantees) {
  const Case cases[] = {
      {1, 320, 2, StartMode::FAIR},      {2, 320, 4, StartMode::FAIR},
      {3, 320, 8, StartMode::FAIR},      {123456789, 320, 8, StartMode::FAIR},
      {5, 640, 12, StartMode::FAIR},     {6, 320, 3, StartMode::FAIR},
      {7, 320, 2, StartMode::SYMMETRIC}, {8, 320, 4, StartMode::SYMMETRIC},
      {9, 320, 8, StartMode::SYMMETRIC}, {10, 640, 12, StartMode::SYMMETRIC},
      {4, 320, 6, StartMode::FAIR},      {15, 320, 6, StartMode::SYMMETRIC},
      {16, 512, 8, StartMode::FAIR},     {17, 384, 4, StartMode::SYMMETRIC},
  };
  for (const Case& c : cases) expectFairStarts(mapOf(c), c);
}

// With two and four players every start is an exact copy: columns that count
// tiles or amounts agree exactly; building spots nearly, since footprints
// are not symmetric and the goods piles are laid nearest-first.
TEST(FairMaps, SymmetricStartsOfTwoAndFourPlayersAreCopies) {
  const Case cases[] = {{11, 320, 2, StartMode::SYMMETRIC},
                        {12, 320, 4, StartMode::SYMMETRIC},
                        {13, 640, 4, StartMode::SYMMETRIC}};
  for (const Case& c : cases) {
    const Fairness f = inspect::fairness(mapOf(c));
    for (Column column :
         {Column::CLAIMED, Column::BUILDABLE, Column::TREES, Column::STONES, Column::MOUNTAIN,
          Column::COAL, Column::IRON, Column::GOLD, Column::GEMS, Column::SULFUR, Column::WATER,
          Column::FISH, Column::PILES, Column::GOODS, Column::SETTLERS, Column::RIVAL}) {
      EXPECT_EQ(spread(f, column).min, spread(f, column).max)
          << label(c) << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
    }
    for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE}) {
      expectRatioAtMost(f, column, 1.05, label(c));
    }
  }
}

// A symmetric map's layers themselves are symmetric away from the towers'
// footprints: the point reflection carries every tile's ground onto its image.
TEST(FairMaps, SymmetricGroundIsPointSymmetric) {
  const model::Map map = mapOf({14, 320, 2, StartMode::SYMMETRIC});
  const size_t tiles = map.landscape.size();
  size_t differing = 0;
  for (size_t i = 0; i < tiles; ++i) differing += map.landscape[i] != map.landscape[tiles - 1 - i];
  EXPECT_EQ(differing, 0u);
}

TEST(FairMaps, RequestsThatCannotBeMetFailWithOneReason) {
  struct Refusal {
    Case c;
    const char* message;
  };
  const Refusal refusals[] = {
      {{1, 320, 3, StartMode::SYMMETRIC}, "Symmetric maps need an even player count, not 3"},
      {{1, 200, 8, StartMode::FAIR},
       "Map too small for 8 fair starts (starts need 88 tiles between them and 52 to every edge)"},
      {{1, 320, 16, StartMode::SYMMETRIC},
       "Map too small for 16 fair starts (starts need 88 tiles between them and 52 to every edge)"},
  };
  for (const Refusal& r : refusals) {
    testing::expectError([&] { mapOf(r.c); }, "Exception", r.message);
  }
}

// The same options give the same file whether maps are made one at a time
// or on several threads at once.
TEST(FairMaps, BytesDoNotDependOnTheThreadCount) {
  const std::vector<Case> cases = {{21, 320, 8, StartMode::FAIR},
                                   {22, 320, 4, StartMode::SYMMETRIC},
                                   {23, 320, 6, StartMode::SYMMETRIC}};
  auto bytesOf = [](const Case& c) { return mapFileBytes(mapOf(c), testing::quiet); };
  std::vector<std::vector<uint8_t>> alone;
  for (const Case& c : cases) alone.push_back(bytesOf(c));
  std::vector<std::vector<uint8_t>> threaded(cases.size());
  std::vector<std::thread> threads;
  for (size_t k = 0; k < cases.size(); ++k) {
    threads.emplace_back([&, k] { threaded[k] = bytesOf(cases[k]); });
  }
  for (std::thread& t : threads) t.join();
  for (size_t k = 0; k < cases.size(); ++k) EXPECT_EQ(threaded[k], alone[k]) << label(cases[k]);
}

}  // namespace
}  // namespace varnholt
