#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "blank_map.h"
#include "console.h"
#include "generate/stages.h"
#include "start_fixture.h"
#include "varnholt/model/map.h"

namespace varnholt::generate {
using namespace varnholt::catalogue;

namespace {

using model::Map;
using model::SettlerType;
using model::StartResourcesType;

using Runs = std::vector<std::pair<SettlerType, int>>;

// The settler kinds of settlers[first, first + count) as runs of one kind.
Runs runsOf(const Map& map, size_t first, size_t count) {
  Runs runs;
  for (size_t i = first; i < first + count; ++i) {
    const SettlerType kind = map.settlers[i].settlerType;
    if (runs.empty() || runs.back().first != kind) runs.push_back({kind, 0});
    ++runs.back().second;
  }
  return runs;
}

TEST(Settlers, ListsPerLevelAndTheTowersParty) {
  struct Case {
    StartResourcesType level;
    Runs runs;
  };
  const Case cases[] = {
      {StartResourcesType::LOW,
       {{SettlerType::BEARER, 16}, {SettlerType::MINER, 3}, {SettlerType::SWORDSMAN_L2, 7},
        {SettlerType::BOWMAN_L1, 1}, {SettlerType::PIKEMAN_L1, 1}}},
      {StartResourcesType::MEDIUM,
       {{SettlerType::BEARER, 32}, {SettlerType::MINER, 4}, {SettlerType::SMITH, 2},
        {SettlerType::SWORDSMAN_L1, 10}, {SettlerType::BOWMAN_L1, 2}, {SettlerType::PIKEMAN_L1, 2},
        {SettlerType::DONKEY, 4}}},
      {StartResourcesType::HIGH,
       {{SettlerType::BEARER, 50}, {SettlerType::MINER, 7}, {SettlerType::SMITH, 2},
        {SettlerType::SWORDSMAN_L1, 13}, {SettlerType::BOWMAN_L1, 4}, {SettlerType::PIKEMAN_L1, 4},
        {SettlerType::DONKEY, 6}}},
      {StartResourcesType::CUSTOM, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(model::name(c.level));
    Map map = testing::blankMap(200);
    startmap::placeTower(map, 100, 100, 5);
    startmap::placeTower(map, 20, 30, 1);
    initSettlers(map, c.level);
    size_t perTower = 0;
    for (const auto& run : c.runs) perTower += static_cast<size_t>(run.second);
    ASSERT_EQ(map.settlers.size(), 2 * perTower);
    EXPECT_EQ(runsOf(map, 0, perTower), c.runs);
    EXPECT_EQ(runsOf(map, perTower, perTower), c.runs);
    for (size_t i = 0; i < map.settlers.size(); ++i) {
      EXPECT_EQ(map.settlers[i].party, i < perTower ? 5 : 1) << i;
    }
  }
}

// The low piles take the first nine empty tiles at distance 2 from the supply
// centre; the settlers go on from the two that remain there.
TEST(Settlers, SkipPileTilesAndNeverShareOne) {
  Map map = testing::blankMap(200);
  startmap::placeTower(map, 100, 100, 0);
  initStacks(map, StartResourcesType::LOW, testing::quiet);
  initSettlers(map, StartResourcesType::LOW);

  ASSERT_EQ(map.settlers.size(), 28u);
  EXPECT_EQ(map.settlers[0].posX, 104);
  EXPECT_EQ(map.settlers[0].posY, 105);
  EXPECT_EQ(map.settlers[1].posX, 105);
  EXPECT_EQ(map.settlers[1].posY, 105);
  std::set<std::pair<int, int>> taken;
  for (const model::Stack& pile : map.stacks) taken.insert({pile.posX, pile.posY});
  for (const model::Settler& settler : map.settlers) {
    EXPECT_TRUE(taken.insert({settler.posX, settler.posY}).second)
        << "tile " << settler.posX << "," << settler.posY << " taken twice";
  }
}

// Forty empty tiles for 86 settlers: the first forty in list order stand, the
// rest are dropped without a word.
TEST(Settlers, CrowdedTowerKeepsTheFirstInListOrder) {
  Map map = testing::blankMap(200);
  startmap::placeTower(map, 100, 100, 0);
  startmap::blockAllBut(map, [&](int64_t i) {
    return i >= startmap::tile(map, 80, 110) && i < startmap::tile(map, 120, 110);
  });
  ::testing::internal::CaptureStdout();
  initSettlers(map, StartResourcesType::HIGH);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(runsOf(map, 0, map.settlers.size()), (Runs{{SettlerType::BEARER, 40}}));
}

}  // namespace
}  // namespace varnholt::generate
