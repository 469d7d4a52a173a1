// Runs the built program as a user would and checks its three outputs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "budget.h"
#include "mapfile/reader.h"
#include "generate/startgoods.h"
#include "subprocess.h"
#include "tempdir.h"

namespace {

using varnholt::testing::Outcome;
using varnholt::testing::slurp;

class Cli : public varnholt::testing::TempDirTest {
 protected:
  // Runs the program in the test's own directory.
  Outcome run(const std::string& arguments) const {
    return varnholt::testing::runIn(dir_, VARNHOLT_BINARY, arguments);
  }

  // The names in the test's directory.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  bool anyMapWritten() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      if (entry.path().extension() == ".map") return true;
    }
    return false;
  }
};

const std::string kUsageText =
    "Varnholt is a generator for The Settlers 3 *.map files\n"
    "\n"
    "Usage:\n"
    "  varnholt [--output=<output>] [--seed=<seed>] [--size=<size>] "
    "[--playerCount=<playerCount>] [--startGoods=<HG|MG|LG>] [--fair | --symmetric] "
    "[--landscape=<landscape>] [--climate=<climate>] [--water=<percent>] "
    "[--mountains=<percent>] [--resources=<amount>] [--teams=<teams>]\n"
    "  varnholt (-h | --help)\n"
    "  varnholt --version\n"
    "Options:\n"
    "  -h --help                     Show this screen.\n"
    "  --version                     Show version.\n"
    "  --output=<output>             Path to the output *.map file that will be generated. "
    "[default: random.map]\n"
    "  --seed=<seed>                 Seed (numeric) to use for random functions. Use another "
    "seed to get another map. [default: 123456789]\n"
    "  --size=<size>                 Size of the generated map. [default: 320]\n"
    "  --playerCount=<playerCount>   Amount of player start spots on the map. [default: 8]\n"
    "  --startGoods=<HG|MG|LG>       Define the stacks and settlers the players start with. "
    "[default: HG]\n"
    "  --fair                        Give every player an equal start: land, wood, stone, ore "
    "and room.\n"
    "  --symmetric                   Build a mirrored map whose starts are exact copies (even "
    "player counts).\n"
    "  --landscape=<landscape>       Shape of the land of a fair map: continent, islands, "
    "highlands or lakes (continent when not given).\n"
    "  --climate=<climate>           Ground between the building land of a fair map: temperate, "
    "desert, swamp or alpine (temperate when not given).\n"
    "  --water=<percent>             Share of the map's tiles that are water: continent 15-60, "
    "islands 30-75, highlands 5-35, lakes 15-60 (the landscape's own when not given).\n"
    "  --mountains=<percent>         Share of the land that is mountain with its snow: 5-45, "
    "highlands 30-60 (the landscape's own when not given).\n"
    "  --resources=<amount>          Minerals, fish, trees and stones of a fair map: low, normal "
    "or high (normal when not given).\n"
    "  --teams=<teams>               Teams of equal size, joined by v: 1v1, 2v2, 3v3, 4v4, "
    "2v2v2, 2v2v2v2, ... Mates start side by side and every team gets an equal share (a fair "
    "map unless --symmetric).\n";

const std::string kUsageSection = kUsageText.substr(kUsageText.find("Usage:"));

TEST_F(Cli, HelpVersionAndRejection) {
  struct Case {
    const char* arguments;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"--help", kUsageText, ""},
      {"-h", kUsageText, ""},
      {"-h --version", kUsageText, ""},
      {"--version --help", kUsageText, ""},
      {"-h --colour=red", kUsageText, ""},
      {"--version", "BETA\n", ""},
      {"--version --seed=abc", "BETA\n", ""},
      {"--colour=red", "", kUsageSection},
      {"--seed", "", kUsageSection},
      {"MG", "", kUsageSection},
      {"--startGoods MG extra", "", kUsageSection},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 0) << c.arguments;
    EXPECT_EQ(outcome.out, c.out) << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
  EXPECT_FALSE(anyMapWritten());
}

TEST_F(Cli, BadValuesEndWithOneErrorLine) {
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"--seed=12abc", "Error: unhandled exception: invalid integer: 12abc [ValueError]\n"},
      {"--seed=99999999999999999999",
       "Error: unhandled exception: Parsed integer outside of valid range [ValueError]\n"},
      {"--size=abc --startGoods=XX",
       "Error: unhandled exception: invalid integer: abc [ValueError]\n"},
      {"--seed=x --size=y", "Error: unhandled exception: invalid integer: x [ValueError]\n"},
      {"--playerCount=1.5", "Error: unhandled exception: invalid integer: 1.5 [ValueError]\n"},
      {"--startGoods=hg", "Error: unhandled exception: Illegal start goods key [Exception]\n"},
      {"'--startGoods=HG '", "Error: unhandled exception: Illegal start goods key [Exception]\n"},
      {"--size=0", "Error: unhandled exception: Illegal map size 0 [Exception]\n"},
      {"--size=-320", "Error: unhandled exception: Illegal map size -320 [Exception]\n"},
      {"--size=26741", "Error: unhandled exception: Illegal map size 26741 [Exception]\n"},
      {"--playerCount=0", "Error: unhandled exception: Illegal player count 0 [Exception]\n"},
      {"--playerCount=255", "Error: unhandled exception: Illegal player count 255 [Exception]\n"},
      {"--size=0 --playerCount=0 --startGoods=XX",
       "Error: unhandled exception: Illegal start goods key [Exception]\n"},
      {"--size=0 --playerCount=0",
       "Error: unhandled exception: Illegal map size 0 [Exception]\n"},
      {"--size=30", "Error: unhandled exception: Illegal generate size -10 [Exception]\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 1) << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
  EXPECT_FALSE(anyMapWritten());
}

// A written map as a player would get it: read back, counted per party.
struct Written {
  varnholt::model::Map map;
  std::map<uint8_t, size_t> settlersPerParty;
};

Written readWritten(const std::filesystem::path& path) {
  Written written{varnholt::mapfile::importMap(path.string()).map, {}};
  for (const auto& settler : written.map.settlers) ++written.settlersPerParty[settler.party];
  return written;
}

TEST_F(Cli, DefaultRunWritesTheCompleteMap) {
  const Outcome outcome = run("");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(outcome.out.ends_with("\n9 - 1476\nencrypt 9\n620552\nstream end\nsize 620554\n"))
      << outcome.out.substr(outcome.out.size() - 200);

  const Written written = readWritten(dir_ / "random.map");
  const varnholt::model::Map& map = written.map;
  // 98 + 45P + 6S^2 + 6NS + 12NB + 8NK bytes.
  EXPECT_EQ(std::filesystem::file_size(dir_ / "random.map"),
            98 + 45 * map.players.size() + 6 * 320 * 320 + 6 * map.settlers.size() +
                12 * map.buildings.size() + 8 * map.stacks.size());
  ASSERT_EQ(map.players.size(), 8u);
  ASSERT_EQ(map.buildings.size(), 8u);
  for (uint8_t party = 0; party < 8; ++party) {
    const varnholt::model::Building& tower = map.buildings[party];
    EXPECT_EQ(tower.party, party);
    EXPECT_EQ(tower.buildingType, varnholt::model::BuildingType::TOWER);
    EXPECT_EQ(tower.swordCount, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(tower.archerCount, (std::array<uint8_t, 3>{2, 0, 0}));
    EXPECT_EQ(tower.spearCount, (std::array<uint8_t, 3>{1, 0, 0}));
    EXPECT_EQ(written.settlersPerParty.at(party), 86u);
  }
  EXPECT_EQ(map.stacks.size(), 8u * 23);
}

TEST_F(Cli, StartGoodsLevelsAndRepeatableFiles) {
  using varnholt::model::StartResourcesType;
  const std::pair<const char*, StartResourcesType> levels[] = {
      {"--startGoods=HG", StartResourcesType::HIGH},
      {"--startGoods=MG", StartResourcesType::MEDIUM},
      {"--startGoods LG", StartResourcesType::LOW},
  };
  for (const auto& [option, level] : levels) {
    const std::string arguments = std::string("--seed=42 --playerCount=4 --output=a.map ") + option;
    ASSERT_EQ(run(arguments).status, 0) << option;
    const Written written = readWritten(dir_ / "a.map");
    EXPECT_EQ(written.map.stacks.size(), 4 * varnholt::generate::startStacks(level).size()) << option;
    for (uint8_t party = 0; party < 4; ++party) {
      EXPECT_EQ(written.settlersPerParty.at(party), varnholt::generate::startSettlers(level).size())
          << option;
    }

    ASSERT_EQ(run("--output=b.map --playerCount=4 " + std::string(option) + " --seed=42").status, 0);
    EXPECT_EQ(slurp(dir_ / "a.map"), slurp(dir_ / "b.map")) << option;
  }
}

TEST_F(Cli, FailedRunsWriteNoFile) {
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"--playerCount=40",
       "Error: unhandled exception: FAiled to create player start [Exception]\n"},
      {"--size=60", "Error: unhandled exception: FAiled to create player start [Exception]\n"},
      {"--output=missing/dir/x.map",
       "Error: unhandled exception: No such file or directory\n"
       "Additional info: missing/dir/x.map [Exception]\n"},
      // Control characters in a path are written out, not passed on.
      {"--output=\"$(printf 'missing\\n\\033dir')/x.map\"",
       "Error: unhandled exception: No such file or directory\n"
       "Additional info: missing\\n\\x1bdir/x.map [Exception]\n"},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = run(c.arguments);
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::seconds(10) * varnholt::testing::BUDGET_FACTOR)
        << c.arguments;
    EXPECT_EQ(outcome.status, 1) << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
  EXPECT_FALSE(anyMapWritten());
}

// Every output that is no regular file or new name is refused before anything
// is generated: nothing on standard output, one error line, nothing written.
TEST_F(Cli, OutputsThatAreNoRegularFileAreRefusedUpFront) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink("gone.map", dir_ / "dangling.map");
  struct Case {
    const char* output;
    const char* reason;
  };
  const Case cases[] = {
      {"/dev/full", "a character device, not a regular file"},
      {"/dev/null", "a character device, not a regular file"},
      // The harness sends standard output to a file.
      {"/dev/stdout", "it is this program's standard output or error"},
      {"pipe", "a FIFO, not a regular file"},
      {".", "a directory, not a regular file"},
      {"dangling.map", "a link to a missing file"},
  };
  const auto before = entries();
  for (const Case& c : cases) {
    const Outcome outcome = run(std::string("--output=") + c.output);
    EXPECT_EQ(outcome.status, 1) << c.output;
    EXPECT_EQ(outcome.out, "") << c.output;
    EXPECT_EQ(outcome.err, std::string("Error: unhandled exception: Refusing output path ") +
                               c.output + ": " + c.reason + " [Exception]\n");
  }
  EXPECT_EQ(entries(), before);
}

// A file size limit stands in for a full disk. The program ignores SIGXFSZ
// itself, so the write fails instead of ending the run whether or not the
// shell ignored it first.
TEST_F(Cli, FullDiskLeavesThePreviousMap) {
  ASSERT_EQ(run("--size=160 --playerCount=2 --output=old.map").status, 0);
  const std::string old = slurp(dir_ / "old.map");
  for (const char* ignored : {"", "trap '' XFSZ; "}) {
    const Outcome outcome = varnholt::testing::runShellIn(
        dir_, std::string(ignored) + "ulimit -f 100; exec '" + VARNHOLT_BINARY +
                  "' --size=160 --playerCount=2 --startGoods=LG --output=old.map");
    EXPECT_EQ(outcome.status, 1) << ignored;
    EXPECT_EQ(outcome.err,
              "Error: unhandled exception: Failed to write path old.map: File too large "
              "[Exception]\n")
        << ignored;
    EXPECT_EQ(slurp(dir_ / "old.map"), old) << ignored;
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"})) << ignored;
  }
}

// Standard output closed, or a reader that stops after 100 bytes: the map is
// the same as with the console intact, and the run succeeds.
TEST_F(Cli, StandardOutputCannotCostTheMap) {
  const std::string options = "--size=640 --playerCount=5 --seed=2 ";
  ASSERT_EQ(run(options + "--output=reference.map").status, 0);
  const std::string reference = slurp(dir_ / "reference.map");
  const std::string program = std::string("'") + VARNHOLT_BINARY + "' " + options;
  struct Case {
    const char* name;
    std::string command;
  };
  const Case cases[] = {
      {"stdout closed", program + "--output=a.map >&-"},
      {"all three closed", program + "--output=b.map <&- >&- 2>&-"},
      {"reader gone",
       "(" + program + "--output=c.map; echo $? >status.txt) | head -c 100 >/dev/null"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = varnholt::testing::runShellIn(dir_, c.command);
    EXPECT_EQ(outcome.status, 0) << c.name;
    EXPECT_EQ(outcome.err, "") << c.name;
  }
  EXPECT_EQ(slurp(dir_ / "status.txt"), "0\n");
  for (const char* name : {"a.map", "b.map", "c.map"}) {
    EXPECT_TRUE(slurp(dir_ / name) == reference) << name;
  }
}

// Runs killed by SIGTERM at moments spread over generation and writing: the
// output is always either the previous map or the complete new one.
TEST_F(Cli, KilledRunLeavesTheOldOrTheNewMapWhole) {
  const std::string options = "--size=640 --playerCount=5 ";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run(options + "--seed=3 --output=new.map").status, 0);
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  ASSERT_EQ(run(options + "--seed=2 --output=out.map").status, 0);
  const std::string fresh = slurp(dir_ / "new.map");
  const std::string old = slurp(dir_ / "out.map");
  std::filesystem::remove(dir_ / "new.map");
  int replaced = 0;
  // From the start to a little past the time a whole run took, and on in
  // longer steps until one run finishes: on a loaded machine a run may take
  // several times as long as the measured one.
  for (int step = 0; step <= 12 || (replaced == 0 && step <= 40); ++step) {
    const auto delay = runTime * step / 10;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::freopen("/dev/null", "w", stdout);
      const std::string output = "--output=" + (dir_ / "out.map").string();
      ::execl(VARNHOLT_BINARY, "varnholt", "--size=640", "--playerCount=5", "--seed=3",
              output.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::usleep(static_cast<useconds_t>(delay.count()));
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::string now = slurp(dir_ / "out.map");
    EXPECT_TRUE(now == old || now == fresh) << "killed after " << delay.count() << " us";
    replaced += now == fresh;
    EXPECT_EQ(entries(), (std::set<std::string>{"out.map"})) << delay.count();
    // Put the previous map back for the next try.
    varnholt::testing::writeBytes(dir_ / "out.map", std::vector<uint8_t>(old.begin(), old.end()));
  }
  EXPECT_GT(replaced, 0) << "no run got far enough to finish";
}

// Two runs on one output at once: both succeed and the output is the whole
// map of one of the two seeds, never a mixture.
TEST_F(Cli, ConcurrentRunsLeaveOneSeedsMap) {
  ASSERT_EQ(run("--seed=1 --output=one.map").status, 0);
  ASSERT_EQ(run("--seed=2 --output=two.map").status, 0);
  const std::string one = slurp(dir_ / "one.map");
  const std::string two = slurp(dir_ / "two.map");
  const std::string program = std::string("'") + VARNHOLT_BINARY + "'";
  for (int attempt = 0; attempt < 10; ++attempt) {
    const Outcome outcome = varnholt::testing::runShellIn(
        dir_, program + " --seed=1 --output=r.map >/dev/null & " + program +
                  " --seed=2 --output=r.map >/dev/null; second=$?; wait $!; echo $? $second");
    EXPECT_EQ(outcome.out, "0 0\n") << attempt;
    const std::string result = slurp(dir_ / "r.map");
    EXPECT_TRUE(result == one || result == two) << attempt;
    EXPECT_EQ(entries(), (std::set<std::string>{"one.map", "r.map", "two.map"})) << attempt;
  }
}

}  // namespace
