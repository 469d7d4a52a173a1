#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "blank_map.h"
#include "console.h"
#include "expect_error.h"
#include "generate/stages.h"
#include "start_fixture.h"
#include "varnholt/model/map.h"

namespace varnholt::generate {
using namespace varnholt::catalogue;

namespace {

using model::AccessibleType;
using model::Map;
using model::StackType;
using model::StartResourcesType;

std::vector<std::pair<int, int>> pileOffsets(const Map& map, int towerX, int towerY) {
  std::vector<std::pair<int, int>> offsets;
  for (const model::Stack& stack : map.stacks) {
    offsets.push_back({stack.posX - towerX, stack.posY - towerY});
  }
  return offsets;
}

// The supply centre lies at (3, 3) from the tower, and its nearest ring is all
// footprint; the first piles go to the empty tiles at distance 2, row by row.
TEST(Stacks, PilesTakeTheNearestEmptyTilesInListOrder) {
  Map map = testing::blankMap(200);
  startmap::placeTower(map, 100, 100, 0);
  initStacks(map, StartResourcesType::HIGH, testing::quiet);

  ASSERT_EQ(map.stacks.size(), 23u);
  const std::vector<std::pair<int, int>> offsets = pileOffsets(map, 100, 100);
  const std::vector<std::pair<int, int>> nearest = {{4, 1}, {5, 1}, {5, 2}, {5, 3}, {1, 4}, {5, 4},
                                                    {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};
  EXPECT_EQ(std::vector(offsets.begin(), offsets.begin() + 11), nearest);
  EXPECT_EQ(map.stacks[0], (model::Stack{StackType::PLANK, 104, 101, 8}));
  EXPECT_EQ(map.stacks[3], (model::Stack{StackType::PLANK, 105, 103, 6}));
  EXPECT_EQ(map.stacks[22].stackType, StackType::BREAD);
  EXPECT_EQ(map.stacks[22].count, 7);
}

// With some footprint cells of the nearest ring freed, distance decides
// before row order, and the upper row before the left column.
TEST(Stacks, TruncatedDistanceFirstThenRowMajor) {
  Map map = testing::blankMap(200);
  startmap::placeTower(map, 100, 100, 0);
  for (auto [dx, dy] : {std::pair{2, 4}, {4, 4}, {4, 3}}) {
    map.accessible[static_cast<size_t>(startmap::tile(map, 100 + dx, 100 + dy))] =
        AccessibleType::EMPTY;
  }
  initStacks(map, StartResourcesType::LOW, testing::quiet);
  const std::vector<std::pair<int, int>> offsets = pileOffsets(map, 100, 100);
  const std::vector<std::pair<int, int>> first = {{4, 3}, {2, 4}, {4, 4}, {4, 1}, {5, 1}};
  EXPECT_EQ(std::vector(offsets.begin(), offsets.begin() + 5), first);
}

TEST(Stacks, ListsPerLevel) {
  struct Case {
    StartResourcesType level;
    size_t piles;
    std::map<StackType, int> goods;
  };
  const Case cases[] = {
      {StartResourcesType::LOW,
       9,
       {{StackType::PLANK, 12}, {StackType::STONE, 12}, {StackType::HAMMER, 6},
        {StackType::SPADE, 5}, {StackType::AXE, 3}, {StackType::SAW, 1}, {StackType::PICK, 2}}},
      {StartResourcesType::MEDIUM,
       20,
       {{StackType::PLANK, 25}, {StackType::STONE, 25}, {StackType::HAMMER, 15},
        {StackType::SPADE, 10}, {StackType::AXE, 6}, {StackType::SAW, 2}, {StackType::PICK, 4},
        {StackType::FISHINGROD, 1}, {StackType::SCYTHE, 1}, {StackType::FISH, 3},
        {StackType::MEAT, 5}, {StackType::BREAD, 7}}},
      {StartResourcesType::HIGH,
       23,
       {{StackType::PLANK, 30}, {StackType::STONE, 31}, {StackType::HAMMER, 25},
        {StackType::SPADE, 15}, {StackType::AXE, 8}, {StackType::SAW, 3}, {StackType::PICK, 5},
        {StackType::FISHINGROD, 2}, {StackType::SCYTHE, 3}, {StackType::FISH, 7},
        {StackType::MEAT, 8}, {StackType::BREAD, 15}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(model::name(c.level));
    Map map = testing::blankMap(200);
    startmap::placeTower(map, 100, 100, 0);
    startmap::placeTower(map, 20, 30, 1);
    initStacks(map, c.level, testing::quiet);
    ASSERT_EQ(map.stacks.size(), 2 * c.piles);
    std::map<StackType, int> goods;
    for (size_t i = 0; i < c.piles; ++i) {
      const model::Stack& pile = map.stacks[i];
      goods[pile.stackType] += pile.count;
      EXPECT_LE(pile.count, 8);
      // The second tower gets the same list in the same order.
      EXPECT_EQ(map.stacks[c.piles + i].stackType, pile.stackType);
      EXPECT_EQ(map.stacks[c.piles + i].count, pile.count);
      EXPECT_LT(map.stacks[c.piles + i].posY, 70);
      // Where one kind fills several piles, the piles of 8 come first.
      if (i > 0 && map.stacks[i - 1].stackType == pile.stackType) {
        EXPECT_TRUE(map.stacks[i - 1].count == 8 || pile.count != 8) << i;
      }
    }
    EXPECT_EQ(goods, c.goods);
  }
}

TEST(Stacks, ConsoleLinesForEveryBuilding) {
  Map map = testing::blankMap(200);
  startmap::placeTower(map, 100, 100, 0);
  map.buildings.push_back({1, model::BuildingType::LUMBERJACK, 7, 8, {}, {}, {}});
  startmap::placeTower(map, 30, 150, 2);
  testing::Recorder printed;
  initStacks(map, StartResourcesType::LOW, printed.console());
  EXPECT_EQ(printed.text(),
            "init stacks for 100 100\nstack success\n"
            "init stacks for 7 8\n"
            "init stacks for 30 150\nstack success\n");
  EXPECT_EQ(map.stacks.size(), 18u);
  EXPECT_LT(map.stacks[9].posX, 40) << "the lumberjack gets no piles";
}

// Five empty tiles are not enough for the high list; an empty list never completes.
TEST(Stacks, TooLittleRoomFails) {
  struct Case {
    StartResourcesType level;
    bool crowded;
    size_t piles;
  };
  for (const Case& c : {Case{StartResourcesType::HIGH, true, 5},
                        Case{StartResourcesType::CUSTOM, false, 0}}) {
    SCOPED_TRACE(model::name(c.level));
    Map map = testing::blankMap(200);
    startmap::placeTower(map, 100, 100, 0);
    if (c.crowded) {
      startmap::blockAllBut(map, [&](int64_t i) {
        return i >= startmap::tile(map, 90, 110) && i < startmap::tile(map, 95, 110);
      });
    }
    testing::Recorder printed;
    testing::expectError([&] { initStacks(map, c.level, printed.console()); }, "Exception",
                         "Failed to setup stacks");
    EXPECT_EQ(printed.text(), "init stacks for 100 100\n");
    EXPECT_EQ(map.stacks.size(), c.piles);
  }
}

}  // namespace
}  // namespace varnholt::generate
