// Team maps: mates start side by side, every front is alike, the teams'
// sums are equal, symmetric maps copy one team onto the other, islands give
// each team one island; names carry the teams; bad team options are refused.
// Fair layouts change with the seed.
#include "inspect/teams.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "console.h"
#include "expect_error.h"
#include "fair_guarantees.h"
#include "inspect/landscape.h"
#include "generate/startlayout.h"
#include "geometry/tiles.h"
#include "subprocess.h"
#include "tempdir.h"
#include "varnholt/inspect.h"
#include "varnholt/model/teams.h"
#include "varnholt/report.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using inspect::Column;
using model::LandscapeStyle;
using testing::Case;

Case teamCase(const char* teams, int64_t seed, int64_t size,
              LandscapeStyle landscape = LandscapeStyle::CONTINENT,
              StartMode mode = StartMode::FAIR) {
  Case c{seed, size, 0, mode};
  c.style.teams = model::parseTeams(teams);
  c.players = model::teamPlayerCount(c.style.teams);
  c.style.landscape = landscape;
  return c;
}

std::string teamLabel(const Case& c) {
  return testing::label(c) + " " + model::teamsText(c.style.teams) + " " +
         std::string(model::name(c.style.landscape));
}

double ratio(const inspect::Spread& s) {
  return static_cast<double>(s.max) / static_cast<double>(s.min);
}

// Every guarantee of a team map, measured with the inspector's code.
void expectTeamMap(const model::Map& map, const Case& c) {
  const std::string what = teamLabel(c);
  testing::expectFairStarts(map, c);
  const inspect::Fairness f = inspect::fairness(map);
  for (const inspect::FairnessRow& r : f.rows) {
    EXPECT_EQ(r.team, model::teamOf(c.style.teams, r.spot.party))
        << what << " party " << +r.spot.party;
  }
  const inspect::Teams t = inspect::teams(f);
  ASSERT_EQ(t.teams.size(), static_cast<size_t>(c.style.teams.count)) << what;
  for (size_t row = 0; row < f.rows.size(); ++row) {
    EXPECT_TRUE(t.mateNearest[row]) << what << " row " << row;
  }
  EXPECT_LE(ratio(t.frontSpread), 1.3)
      << what << " " << t.frontSpread.max << "/" << t.frontSpread.min;
  const double least =
      0.8 * static_cast<double>(c.size) / std::sqrt(static_cast<double>(c.players));
  EXPECT_GE(static_cast<double>(t.frontSpread.min), std::floor(least)) << what;
  for (Column column : {Column::SMALL, Column::MEDIUM, Column::LARGE, Column::TREES, Column::STONES,
                        Column::MOUNTAIN, Column::COAL, Column::IRON, Column::GOLD}) {
    EXPECT_LE(ratio(t.spread[static_cast<size_t>(column)]), 1.10)
        << what << " " << inspect::COLUMN_NAMES[static_cast<size_t>(column)];
  }
  const inspect::Landscape l = inspect::measureLandscape(map);
  if (c.style.landscape == LandscapeStyle::ISLANDS) {
    // One island per team, every mate on it.
    std::set<int32_t> islandTeams;
    for (const inspect::LandMass& mass : l.landMasses) {
      if (mass.starts.empty()) continue;
      std::set<int32_t> onIt;
      for (size_t row : mass.starts) onIt.insert(f.rows[row].team);
      EXPECT_EQ(onIt.size(), 1u) << what;
      EXPECT_TRUE(islandTeams.insert(*onIt.begin()).second) << what << " team split";
    }
  } else {
    EXPECT_TRUE(l.startsReachableOnFoot) << what;
  }
  if (c.mode == StartMode::SYMMETRIC) {
    // The point reflection takes every start of team 1 onto one of team 2.
    const int64_t last = c.size - 1;
    for (const inspect::FairnessRow& r : f.rows) {
      bool imaged = false;
      for (const inspect::FairnessRow& other : f.rows) {
        imaged = imaged || (other.spot.x == last - r.spot.x && other.spot.y == last - r.spot.y &&
                            other.team == 3 - r.team);
      }
      EXPECT_TRUE(imaged) << what << " party " << +r.spot.party;
    }
  }
}

TEST(Teams, EveryTeamShapeKeepsItsGuarantees) {
  const Case cases[] = {
      teamCase("1v1", 1, 320),
      teamCase("2v2", 2, 320),
      teamCase("2v2", 3, 384, LandscapeStyle::HIGHLANDS),
      teamCase("3v3", 4, 384, LandscapeStyle::LAKES),
      teamCase("4v4", 5, 448),
      teamCase("2v2v2", 6, 384, LandscapeStyle::ISLANDS),
      teamCase("2v2v2v2", 7, 512),
      teamCase("2v2", 8, 384, LandscapeStyle::ISLANDS),
      teamCase("2v2", 9, 320, LandscapeStyle::CONTINENT, StartMode::SYMMETRIC),
      teamCase("3v3", 10, 384, LandscapeStyle::ISLANDS, StartMode::SYMMETRIC),
      // Its layout once put two mates on each side of the other team, each
      // start beside a mate, and the islands split the team.
      teamCase("4v4", 36, 448, LandscapeStyle::ISLANDS),
  };
  for (const Case& c : cases) expectTeamMap(testing::mapOf(c), c);
}

// Two columns of starts 150 tiles apart with a third between them: every
// start's nearest start is the other of its column. The layout rules keep
// it when the teams are side by side, and refuse it when the middle column's
// team splits the other.
TEST(Teams, LayoutsWhoseTeamIsSplitAreRefused) {
  const std::vector<generate::Tile> tiles = {{100, 100}, {100, 200}, {250, 100},
                                             {250, 200}, {400, 100}, {400, 200}};
  generate::LayoutRules rules;
  rules.size = 500;
  rules.mateSpacing = 90;
  rules.rivalSpacing = 140;
  rules.frontSpread = 3;
  rules.team = {1, 1, 1, 1, 2, 2};
  EXPECT_TRUE(generate::keepsRules(tiles, rules));
  rules.team = {1, 1, 2, 2, 1, 1};
  EXPECT_FALSE(generate::keepsRules(tiles, rules));
}

TEST(Teams, PlayerNamesSayTheTeam) {
  const model::Map map = testing::mapOf(teamCase("3v3", 1, 384));
  ASSERT_EQ(map.players.size(), 6u);
  EXPECT_EQ(map.players[0].name, "Player 0 Team 1" + std::string(18, ' '));
  EXPECT_EQ(map.players[3].name, "Player 3 Team 2" + std::string(18, ' '));
  EXPECT_EQ(model::teamInName(map.players[5].name), 2);
  struct Named {
    const char* name;
    int32_t team;
  };
  for (const Named n : {Named{"Player 2 Team 12   ", 12}, Named{"Player 2", 0}, Named{"Team 3", 0},
                        Named{"Player 1 Team x", 0}, Named{"Player 1 Team ", 0}, Named{"", 0}}) {
    EXPECT_EQ(model::teamInName(n.name), n.team) << n.name;
  }
}

TEST(Teams, TeamOptionsAreReadOrRefused) {
  EXPECT_EQ(model::parseTeams("2v2"), (model::Teams{2, 2}));
  EXPECT_EQ(model::parseTeams("1v1v1"), (model::Teams{3, 1}));
  EXPECT_EQ(model::parseTeams("3v3v3v3"), (model::Teams{4, 3}));
  EXPECT_EQ(model::teamsText({4, 3}), "3v3v3v3");
  const std::string malformed =
      "--teams takes team sizes of 1 or more joined by v, such as 1v1, "
      "2v2 or 2v2v2, not '";
  for (const char* text : {"2x2", "0v2", "v", "2", "2v", "v2", "2vv2", "-1v1", "", "999v999"}) {
    testing::expectError([text] { model::parseTeams(text); }, "ValueError", malformed + text + "'");
  }
  testing::expectError([] { model::parseTeams("2v1"); }, "ValueError",
                       "--teams needs teams of one size, so that each team's share can be equal, "
                       "not '2v1'");
  // Read from text as the page and the command line read it: the teams set
  // the player count and make a fair map unless it is symmetric already.
  GenerateOptions read;
  setOption(read, "teams", "3v3");
  EXPECT_EQ(read.style.teams, (model::Teams{2, 3}));
  EXPECT_EQ(read.playerCount, 6);
  EXPECT_EQ(read.mode, StartMode::FAIR);
  read.mode = StartMode::SYMMETRIC;
  setOption(read, "teams", "1v1");
  EXPECT_EQ(read.playerCount, 2);
  EXPECT_EQ(read.mode, StartMode::SYMMETRIC);
  GenerateOptions unchanged;
  EXPECT_THROW(setOption(unchanged, "teams", "2x2"), Error);
  EXPECT_EQ(unchanged.playerCount, 8);
  EXPECT_EQ(unchanged.style.teams.count, 0);
  EXPECT_EQ(unchanged.mode, StartMode::CLASSIC);

  GenerateOptions options;
  options.mode = StartMode::FAIR;
  options.playerCount = 6;
  options.style.teams = {2, 2};
  testing::expectError([&] { generateMap(options, testing::quiet); }, "ValueError",
                       "--teams 2v2 holds 4 players, but --playerCount is 6; give team sizes "
                       "that add up to the player count");
  options.playerCount = 6;
  options.style.teams = {3, 2};
  options.mode = StartMode::SYMMETRIC;
  testing::expectError([&] { generateMap(options, testing::quiet); }, "ValueError",
                       "--symmetric takes an even number of teams, so that the symmetry takes "
                       "each team onto another, not 2v2v2");
  options.mode = StartMode::FAIR;
  options.playerCount = 8;
  options.size = 256;
  options.style.teams = {2, 4};
  testing::expectError([&] { generateMap(options, testing::quiet); }, "Exception",
                       "Map too small for 4v4 at size 256 (team starts need 88 tiles between "
                       "mates, 88 between rivals and 52 to every edge, each start's nearest "
                       "start a mate)");
}

// The inspector reads the teams back from the names: a team column, the
// teams section and, on a map without teams, neither.
TEST(Teams, ReportsShowTheTeamsTheNamesSay) {
  const model::Map teamMap = testing::mapOf(teamCase("2v2", 3, 320));
  const mapfile::MapFile file = readMapFile(mapFileBytes(teamMap, testing::quiet));
  const nlohmann::json json = nlohmann::json::parse(inspect::jsonReport(file, "t.map"));
  const nlohmann::json& rows = json["fairness"]["rows"];
  ASSERT_EQ(rows.size(), 4u);
  for (size_t row = 0; row < rows.size(); ++row) {
    EXPECT_EQ(rows[row]["team"], rows[row]["party"].get<int>() / 2 + 1) << row;
  }
  const nlohmann::json& teams = json["teams"];
  ASSERT_EQ(teams["teams"].size(), 2u);
  EXPECT_EQ(teams["teams"][1]["parties"], nlohmann::json::parse("[2, 3]"));
  EXPECT_EQ(teams["teams"][0]["sums"]["trees"],
            rows[0]["trees"].get<int>() + rows[1]["trees"].get<int>());
  EXPECT_EQ(teams["mateNearest"], true);
  // The fairness table's header line.
  const auto header = [](const std::string& report) {
    const size_t at = report.find("\nparty ");
    return report.substr(at + 1, report.find('\n', at + 1) - at - 1);
  };
  const std::string text = inspect::textReport(file, "t.map");
  EXPECT_NE(header(text).find(" team "), std::string::npos) << header(text);
  EXPECT_NE(text.find("\nteams (from the player names"), std::string::npos);
  EXPECT_NE(text.find("nearest other start a mate: every start"), std::string::npos);

  const mapfile::MapFile plain = readMapFile(
      mapFileBytes(testing::mapOf(Case{3, 320, 4, StartMode::FAIR}), testing::quiet));
  const nlohmann::json plainJson = nlohmann::json::parse(inspect::jsonReport(plain, "p.map"));
  EXPECT_TRUE(plainJson["teams"].is_null());
  EXPECT_TRUE(plainJson["fairness"]["rows"][0]["team"].is_null());
  const std::string plainText = inspect::textReport(plain, "p.map");
  EXPECT_EQ(plainText.find("\nteams ("), std::string::npos);
  EXPECT_EQ(header(plainText).find(" team "), std::string::npos) << header(plainText);
}

class TeamsCli : public testing::TempDirTest {
 protected:
  testing::Outcome run(const std::string& arguments) const {
    return testing::runIn(dir_, VARNHOLT_BINARY, arguments + " --output=m.map");
  }
};

TEST_F(TeamsCli, TeamsSetThePlayerCountAndMakeAFairMap) {
  ASSERT_EQ(run("--teams=2v2 --seed=5").status, 0);
  GenerateOptions options;
  options.seed = 5;
  options.playerCount = 4;
  options.mode = StartMode::FAIR;
  options.style.teams = {2, 2};
  const std::vector<uint8_t> expected =
      mapFileBytes(generateMap(options, testing::quiet), testing::quiet);
  EXPECT_EQ(testing::slurp(dir_ / "m.map"), std::string(expected.begin(), expected.end()));
  // A count given must agree; the default count is no count given.
  EXPECT_EQ(run("--teams=2v2 --playerCount=4 --seed=5").status, 0);
}

TEST_F(TeamsCli, BadTeamsEndWithOneErrorLineAndNoFile) {
  for (const char* arguments :
       {"--teams=2x2", "--teams=0v2", "--teams=v", "--teams=2v1", "--teams=2v2 --playerCount=8",
        "--teams=8v8 --size=320", "--teams=2v2v2 --symmetric --size=384"}) {
    const testing::Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 1) << arguments;
    EXPECT_TRUE(outcome.err.starts_with("Error: unhandled exception: "))
        << arguments << ": " << outcome.err;
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << arguments << ": " << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "m.map")) << arguments;
  }
}

// Over five seeds at 384 with four players, few starts come back to where
// another seed put one, and symmetric pairs face each other more than one way.
TEST(Teams, FairLayoutsChangeWithTheSeed) {
  std::vector<std::vector<inspect::StartSpot>> layouts;
  std::set<int64_t> directions;
  for (int64_t seed = 1; seed <= 5; ++seed) {
    layouts.push_back(inspect::startSpots(testing::mapOf(Case{seed, 384, 4, StartMode::FAIR})));
    const std::vector<inspect::StartSpot> pair =
        inspect::startSpots(testing::mapOf(Case{seed, 384, 2, StartMode::SYMMETRIC}));
    ASSERT_EQ(pair.size(), 2u);
    const int64_t dx = int64_t{pair[1].x} - pair[0].x;
    const int64_t dy = int64_t{pair[1].y} - pair[0].y;
    // The direction in eighths of a turn, either way along the line.
    const double turn = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    const auto eighth = static_cast<int64_t>(std::lround(turn / (std::numbers::pi / 4))) % 4;
    directions.insert((eighth + 4) % 4);
  }
  int64_t recurring = 0;
  int64_t all = 0;
  for (size_t a = 0; a < layouts.size(); ++a) {
    for (const inspect::StartSpot& s : layouts[a]) {
      ++all;
      bool near = false;
      for (size_t b = 0; b < layouts.size(); ++b) {
        for (const inspect::StartSpot& o : layouts[b]) {
          near = near || (b != a && distance(s.x, s.y, o.x, o.y) <= 10);
        }
      }
      recurring += near ? 1 : 0;
    }
  }
  EXPECT_LE(4 * recurring, all) << recurring << " of " << all << " starts recur";
  EXPECT_GT(directions.size(), 1u);
}

}  // namespace
}  // namespace varnholt
