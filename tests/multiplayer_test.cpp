// Maps for the multiplayer lobby, read back from their file bytes: the header
// and the entities are what the game's own lobby maps have, the starts and
// the ground are the fair map's of the same options, the largest start kit
// finds room at every start when laid out again, and the fairness table
// measured at the player starts matches the fair map's at its towers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "console.h"
#include "generate/stages.h"
#include "generate/startgoods.h"
#include "varnholt/model/teams.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using inspect::Column;
using model::Map;
using model::StartResourcesType;

struct Case {
  int64_t seed;
  int64_t size;
  int64_t players;
  StartMode mode;  // CLASSIC: --multiplayer alone
  StartResourcesType goods;
  model::MapStyle style = {};
};

std::string label(const Case& c) {
  constexpr const char* kModes[] = {"", " --fair", " --symmetric"};
  return "--multiplayer" + std::string(kModes[static_cast<size_t>(c.mode)]) + " seed " +
         std::to_string(c.seed) + " " + std::to_string(c.size) + "/" +
         std::to_string(c.players) + " " + model::name(c.goods) + " " +
         std::string(model::name(c.style.landscape)) + " " +
         std::string(model::name(c.style.climate)) + " " +
         std::string(model::name(c.style.resources)) + " " + model::teamsText(c.style.teams);
}

// The map of the options as a reader of the file sees it.
Map readBack(const GenerateOptions& options) {
  const std::vector<uint8_t> bytes = mapFileBytes(generateMap(options, testing::quiet), testing::quiet);
  return readMapFile(bytes).map;
}

GenerateOptions optionsOf(const Case& c, bool multiplayer, StartResourcesType goods) {
  GenerateOptions options;
  options.seed = c.seed;
  options.size = c.size;
  options.playerCount = c.players;
  options.mode = c.mode;
  options.startGoods = goods;
  options.multiplayer = multiplayer;
  options.style = c.style;
  return options;
}

Map lobbyMapOf(const Case& c) { return readBack(optionsOf(c, true, c.goods)); }

// The same command line without --multiplayer: a fair map unless symmetric.
Map fairMapOf(const Case& c, StartResourcesType goods) {
  GenerateOptions options = optionsOf(c, false, goods);
  if (options.mode == StartMode::CLASSIC) options.mode = StartMode::FAIR;
  return readBack(options);
}

const Case kCases[] = {
    {123456789, 320, 8, StartMode::CLASSIC, StartResourcesType::HIGH},
    {3, 320, 4, StartMode::FAIR, StartResourcesType::LOW},
    {5, 384, 6, StartMode::CLASSIC, StartResourcesType::MEDIUM},
    {7, 320, 2, StartMode::SYMMETRIC, StartResourcesType::LOW},
    {8, 320, 4, StartMode::SYMMETRIC, StartResourcesType::HIGH},
    {9, 640, 12, StartMode::CLASSIC, StartResourcesType::MEDIUM},
    {11, 320, 3, StartMode::CLASSIC, StartResourcesType::HIGH},
    {12, 384, 4, StartMode::CLASSIC, StartResourcesType::LOW,
     {.landscape = model::LandscapeStyle::ISLANDS, .climate = model::ClimateStyle::DESERT}},
    {13, 512, 8, StartMode::FAIR, StartResourcesType::MEDIUM,
     {.landscape = model::LandscapeStyle::HIGHLANDS, .climate = model::ClimateStyle::ALPINE,
      .resources = model::ResourceAmount::HIGH}},
    {14, 384, 4, StartMode::SYMMETRIC, StartResourcesType::HIGH,
     {.landscape = model::LandscapeStyle::LAKES, .climate = model::ClimateStyle::SWAMP,
      .resources = model::ResourceAmount::LOW}},
    {15, 320, 4, StartMode::CLASSIC, StartResourcesType::MEDIUM, {.teams = {2, 2}}},
    {16, 384, 6, StartMode::SYMMETRIC, StartResourcesType::HIGH,
     {.landscape = model::LandscapeStyle::ISLANDS, .teams = {2, 3}}},
};

TEST(LobbyMaps, HoldOnlyTheStartsOfTheFairLayoutOnItsGround) {
  for (const Case& c : kCases) {
    const std::string what = label(c);
    const Map lobby = lobbyMapOf(c);
    EXPECT_EQ(lobby.gameType, model::GameType::MULTIPLAYER) << what;
    EXPECT_EQ(lobby.startResources, c.goods) << what;
    EXPECT_EQ(lobby.playerCount, static_cast<uint32_t>(c.players)) << what;
    EXPECT_TRUE(lobby.buildings.empty()) << what;
    EXPECT_TRUE(lobby.stacks.empty()) << what;
    EXPECT_TRUE(lobby.settlers.empty()) << what;
    EXPECT_EQ(lobby.party, std::vector<uint8_t>(lobby.party.size(), 255)) << what;

    // The starts are the towers of the same command line without the option.
    const Map fair = fairMapOf(c, c.goods);
    ASSERT_EQ(lobby.players.size(), static_cast<size_t>(c.players)) << what;
    ASSERT_EQ(fair.buildings.size(), static_cast<size_t>(c.players)) << what;
    for (const model::Building& tower : fair.buildings) {
      const model::Player& player = lobby.players[tower.party];
      EXPECT_EQ(player.startX, tower.posX) << what << " player " << +tower.party;
      EXPECT_EQ(player.startY, tower.posY) << what << " player " << +tower.party;
      // Names stay only where they say the team.
      const std::string name =
          c.style.teams.count == 0 ? std::string(33, '\0') : fair.players[tower.party].name;
      EXPECT_EQ(player.name, name) << what;
      EXPECT_EQ(model::teamInName(player.name), model::teamOf(c.style.teams, tower.party)) << what;
      EXPECT_EQ(player.civilization, model::CivilizationType::FREE_CHOICE) << what;
    }

    // The ground is the fair map's that laid the largest kit, whatever the
    // lobby's default; only the towers' footprints are free again.
    const Map laidHigh = fairMapOf(c, StartResourcesType::HIGH);
    EXPECT_EQ(lobby.heights, laidHigh.heights) << what;
    EXPECT_EQ(lobby.landscape, laidHigh.landscape) << what;
    EXPECT_EQ(lobby.objects, laidHigh.objects) << what;
    EXPECT_EQ(lobby.resources, laidHigh.resources) << what;
    EXPECT_EQ(lobby.resourceAmounts, laidHigh.resourceAmounts) << what;
    std::vector<model::AccessibleType> accessible = laidHigh.accessible;
    for (size_t i = 0; i < accessible.size(); ++i) {
      if (accessible[i] == model::AccessibleType::BLOCKED_BUILDING ||
          accessible[i] == model::AccessibleType::BLOCKED_BUT_ACCESSIBLE) {
        accessible[i] = model::AccessibleType::EMPTY;
      }
    }
    EXPECT_EQ(lobby.accessible, accessible) << what;
  }
}

// The tower's footprint is free grass at every start, and the goods piles and
// settlers of the HIGH level, laid out around it by the generator's own
// stages, each find a free tile of grass.
TEST(LobbyMaps, EveryStartHasRoomForTheLargestKit) {
  const size_t settlersPerStart = generate::startSettlers(StartResourcesType::HIGH).size();
  const model::BuildingMeta& towerMeta = catalogue::buildingMeta(catalogue::TOWER_META_KEY);
  for (const Case& c : kCases) {
    const std::string what = label(c);
    Map map = lobbyMapOf(c);
    const int64_t size = map.size;
    for (size_t party = 0; party < map.players.size(); ++party) {
      const int64_t x = map.players[party].startX;
      const int64_t y = map.players[party].startY;
      const int64_t pos = x + size * y;
      ASSERT_TRUE(catalogue::canSetBuilding(map, pos, model::BuildingType::TOWER))
          << what << " player " << party;
      for (const model::BuildingMetaBlock& cell : towerMeta.blocks) {
        const auto tile = static_cast<size_t>(x + cell.xOffset + size * (y + cell.yOffset));
        EXPECT_EQ(map.landscape[tile], model::LandscapeType::GRASS) << what << " player " << party;
      }
      catalogue::setBuilding(map, pos, model::BuildingType::TOWER, static_cast<uint8_t>(party),
                             generate::START_SWORDSMEN, generate::START_ARCHERS,
                             generate::START_SPEARMEN);
    }
    ASSERT_NO_THROW(generate::initStacks(map, StartResourcesType::HIGH, testing::quiet)) << what;
    generate::initSettlers(map, StartResourcesType::HIGH);
    EXPECT_EQ(map.stacks.size(), generate::startStacks(StartResourcesType::HIGH).size() *
                                     map.players.size())
        << what;
    EXPECT_EQ(map.settlers.size(), settlersPerStart * map.players.size()) << what;
    for (const model::Stack& stack : map.stacks) {
      EXPECT_EQ(map.landscape[static_cast<size_t>(stack.posX + size * stack.posY)],
                model::LandscapeType::GRASS)
          << what << " pile at " << stack.posX << ", " << stack.posY;
    }
    for (const model::Settler& settler : map.settlers) {
      EXPECT_EQ(map.landscape[static_cast<size_t>(settler.posX + size * settler.posY)],
                model::LandscapeType::GRASS)
          << what << " settler at " << settler.posX << ", " << settler.posY;
    }
  }
}

// The inspector measures a lobby map at its player starts, and every column
// the kit does not touch reads as the fair map's at its towers; building
// spots only gain the tiles the tower and piles held.
TEST(LobbyMaps, FairnessAtThePlayerStartsIsTheFairMaps) {
  for (const Case& c : kCases) {
    const std::string what = label(c);
    const inspect::Fairness lobby = inspect::fairness(lobbyMapOf(c));
    const inspect::Fairness fair = inspect::fairness(fairMapOf(c, StartResourcesType::HIGH));
    EXPECT_FALSE(lobby.fromTowers) << what;
    ASSERT_TRUE(fair.fromTowers) << what;
    ASSERT_EQ(lobby.rows.size(), fair.rows.size()) << what;
    for (size_t r = 0; r < lobby.rows.size(); ++r) {
      const inspect::FairnessRow& l = lobby.rows[r];
      const inspect::FairnessRow& f = fair.rows[r];
      EXPECT_EQ(l.spot.party, f.spot.party) << what;
      EXPECT_EQ(l.spot.x, f.spot.x) << what;
      EXPECT_EQ(l.spot.y, f.spot.y) << what;
      for (Column column : {Column::TREES, Column::STONES, Column::MOUNTAIN, Column::COAL,
                            Column::IRON, Column::GOLD, Column::GEMS, Column::SULFUR,
                            Column::WATER, Column::FISH, Column::RIVAL}) {
        const auto k = static_cast<size_t>(column);
        EXPECT_EQ(l.values[k], f.values[k]) << what << " " << inspect::COLUMN_NAMES[k];
      }
      for (Column column : {Column::BUILDABLE, Column::SMALL, Column::MEDIUM, Column::LARGE}) {
        const auto k = static_cast<size_t>(column);
        EXPECT_GE(l.values[k], f.values[k]) << what << " " << inspect::COLUMN_NAMES[k];
      }
      for (Column column : {Column::CLAIMED, Column::PILES, Column::GOODS, Column::SETTLERS}) {
        EXPECT_EQ(l.values[static_cast<size_t>(column)], 0) << what;
      }
    }
    for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE}) {
      const inspect::Spread& s = lobby.spread[static_cast<size_t>(column)];
      EXPECT_LE(static_cast<double>(s.max), 1.15 * static_cast<double>(s.min)) << what;
    }
  }
}

TEST(LobbyMaps, OptionIsReadAsZeroOrOne) {
  GenerateOptions options;
  setOption(options, "multiplayer", "1");
  EXPECT_TRUE(options.multiplayer);
  setOption(options, "multiplayer", "0");
  EXPECT_FALSE(options.multiplayer);
  EXPECT_THROW(setOption(options, "multiplayer", "yes"), Error);
  EXPECT_FALSE(options.multiplayer);
}

}  // namespace
}  // namespace varnholt
