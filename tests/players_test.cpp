#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "generate/random.h"
#include "generate/stages.h"

namespace varnholt::generate {

namespace {

TEST(Players, NamesArePaddedToThirtyThreeBytes) {
  for (int64_t count : {-3, 0, 8, 11}) {
    model::Map map;
    map.size = 320;
    Random random(1);
    const RandomState before = random.state;
    initPlayers(map, count);
    EXPECT_EQ(random.state, before);
    ASSERT_EQ(map.players.size(), static_cast<size_t>(std::max<int64_t>(count, 0)));
    for (int64_t i = 0; i < count; ++i) {
      const model::Player& player = map.players[i];
      EXPECT_EQ(player.name.size(), 33u);
      EXPECT_EQ(player.startX, 150u);
      EXPECT_EQ(player.startY, 150u);
      EXPECT_EQ(player.civilization, model::CivilizationType::FREE_CHOICE);
    }
  }
  model::Map map;
  map.size = 60;
  initPlayers(map, 11);
  EXPECT_EQ(map.players[0].name, "Player 0" + std::string(25, ' '));
  EXPECT_EQ(map.players[7].name, "Player 7" + std::string(25, ' '));
  EXPECT_EQ(map.players[10].name, "Player 10" + std::string(24, ' '));
}

// (150, 150) where the map holds it, the tower of the player's party on
// smaller maps, the centre for a party without a tower.
TEST(Players, StartIsOnTheMap) {
  struct Case {
    uint32_t size;
    uint32_t x;
    uint32_t y;
  };
  const Case cases[] = {{151, 150, 150}, {320, 150, 150}, {150, 31, 42}, {80, 31, 42}};
  for (const Case& c : cases) {
    model::Map map;
    map.size = c.size;
    map.buildings = {{1, model::BuildingType::TOWER, 31, 42, {}, {}, {}},
                     {0, model::BuildingType::TOWER, 10, 20, {}, {}, {}}};
    initPlayers(map, 3);
    ASSERT_EQ(map.players.size(), 3u);
    EXPECT_EQ(map.players[1].startX, c.x) << c.size;
    EXPECT_EQ(map.players[1].startY, c.y) << c.size;
    if (c.size <= 150) {
      EXPECT_EQ(map.players[0].startX, 10u);
      EXPECT_EQ(map.players[2].startX, c.size / 2);
      EXPECT_EQ(map.players[2].startY, c.size / 2);
    }
  }
}

TEST(Players, RecordsAlreadyPresentStayInFront) {
  model::Map map;
  map.size = 320;
  map.players.push_back({"earlier", 1, 2, model::CivilizationType::ROMANS});
  initPlayers(map, 2);
  ASSERT_EQ(map.players.size(), 3u);
  EXPECT_EQ(map.players[0].name, "earlier");
  EXPECT_EQ(map.players[2].name, "Player 1" + std::string(25, ' '));
}

}  // namespace
}  // namespace varnholt::generate
