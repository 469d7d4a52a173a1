// --multiplayer on the command line and in the inspector: the file is the
// library's lobby map, and the inspector's reports say that the game lays
// out the start kit, in text and JSON, for lobby maps only.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "console.h"
#include "subprocess.h"
#include "tempdir.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using testing::Outcome;

class MultiplayerCli : public testing::TempDirTest {
 protected:
  Outcome generate(const std::string& arguments) const {
    return testing::runIn(dir_, VARNHOLT_BINARY, arguments + " --output=m.map");
  }
  Outcome inspect(const std::string& arguments) const {
    return testing::runIn(dir_, VARNHOLT_INSPECT_BINARY, arguments + " m.map");
  }
};

TEST_F(MultiplayerCli, WritesTheLibrarysLobbyMap) {
  const Outcome outcome = generate("--multiplayer --seed=3 --playerCount=4 --startGoods=LG");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  GenerateOptions options;
  options.seed = 3;
  options.playerCount = 4;
  options.startGoods = model::StartResourcesType::LOW;
  options.multiplayer = true;
  const std::vector<uint8_t> expected =
      mapFileBytes(generateMap(options, testing::quiet), testing::quiet);
  EXPECT_EQ(testing::slurp(dir_ / "m.map"), std::string(expected.begin(), expected.end()));

  const Outcome help = testing::runIn(dir_, VARNHOLT_BINARY, "--help");
  EXPECT_NE(help.out.find(" [--multiplayer]\n"), std::string::npos);
  EXPECT_NE(help.out.find("\n  --multiplayer  "), std::string::npos) << help.out;
}

TEST_F(MultiplayerCli, InspectorSaysWhoLaysOutTheKit) {
  struct Case {
    const char* arguments;
    int players;
    bool lobby;
    const char* goods;
  };
  for (const Case& c : {Case{"--multiplayer --playerCount=4 --startGoods=MG", 4, true, "MEDIUM"},
                        Case{"--multiplayer --symmetric --playerCount=2", 2, true, "HIGH"},
                        Case{"--fair --playerCount=4", 4, false, "CUSTOM"},
                        Case{"--playerCount=4", 4, false, "CUSTOM"}}) {
    ASSERT_EQ(generate(c.arguments).status, 0) << c.arguments;
    const Outcome text = inspect("");
    ASSERT_EQ(text.status, 0) << c.arguments << ": " << text.err;
    const std::string note = std::string("\nlobby map: the game places a tower, goods and settlers "
                                         "at each player start; start goods ") +
                             c.goods + " unless the lobby chooses another level\n";
    EXPECT_EQ(text.out.find(note) != std::string::npos, c.lobby) << c.arguments << text.out;
    EXPECT_EQ(text.out.find("lobby map:") != std::string::npos, c.lobby) << c.arguments;
    const std::string starts = c.lobby ? "player start spots" : "towers";
    EXPECT_NE(text.out.find(" tiles of each of the " + std::to_string(c.players) + " " + starts),
              std::string::npos)
        << c.arguments;

    const Outcome json = inspect("--json");
    ASSERT_EQ(json.status, 0) << c.arguments << ": " << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);
    if (!c.lobby) {
      EXPECT_TRUE(report["lobby"].is_null()) << c.arguments;
      continue;
    }
    EXPECT_EQ(report["lobby"]["gameType"], "MULTIPLAYER") << c.arguments;
    EXPECT_EQ(report["lobby"]["startGoods"], c.goods) << c.arguments;
    EXPECT_EQ(report["lobby"]["kitPlacedByGame"], true) << c.arguments;
    EXPECT_EQ(report["buildings"]["count"], 0) << c.arguments;
    EXPECT_EQ(report["fairness"]["rows"].size(), report["players"].size()) << c.arguments;
  }
}

}  // namespace
}  // namespace varnholt
