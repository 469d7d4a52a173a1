// Runs the built inspector as a user would and checks its three outputs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "budget.h"
#include "blank_map.h"
#include "mapfile.h"
#include "varnholt/report.h"
#include "mapfile/reader.h"
#include "subprocess.h"
#include "tempdir.h"

namespace {

using varnholt::testing::Bytes;
using varnholt::testing::Outcome;
using varnholt::testing::slurp;

class InspectCli : public varnholt::testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    varnholt::model::Map map = varnholt::testing::blankMap(50);
    map.playerCount = 1;
    map.players = {{varnholt::testing::playerName("Ada"), 25, 25,
                    varnholt::model::CivilizationType::ROMANS}};
    good_ = varnholt::testing::seal(varnholt::testing::layoutOf(map));
    write("good.map", good_);
  }

  void write(const std::string& name, const Bytes& bytes) const {
    varnholt::testing::writeBytes(dir_ / name, bytes);
  }

  // Runs the program in the test's own directory.
  Outcome run(const std::string& arguments) const {
    return varnholt::testing::runIn(dir_, VARNHOLT_INSPECT_BINARY, arguments);
  }

  Bytes good_;
};

// What a run of the inspector cost, with its standard output discarded.
struct Measured {
  int status = -1;  // -1 also when the run was ended for taking too long
  std::string err;
  std::chrono::milliseconds time{};
  long peakKilobytes = 0;
};

// Runs the inspector; a run that takes longer than timeout is killed.
Measured runMeasured(const std::filesystem::path& dir, std::vector<std::string> arguments,
                     std::chrono::milliseconds timeout = std::chrono::minutes(2)) {
  arguments.insert(arguments.begin(), VARNHOLT_INSPECT_BINARY);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string errPath = (dir / "measured-err.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  Measured measured;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, WNOHANG, &usage) == 0) {
      if (std::chrono::steady_clock::now() - start > timeout) {
        ::kill(child, SIGKILL);
        ::wait4(child, &status, 0, &usage);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    measured.time = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    measured.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    measured.peakKilobytes = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  measured.err = slurp(errPath);
  std::filesystem::remove(errPath);
  return measured;
}

const std::string kUsageText =
    "Varnholt-inspect checks a The Settlers 3 *.map file, reports what it holds and how fair its "
    "start positions are, and draws a preview\n"
    "\n"
    "Usage:\n"
    "  varnholt-inspect [--json] [--png=<png>] [--scale=<scale>] <map>\n"
    "  varnholt-inspect (-h | --help)\n"
    "  varnholt-inspect --version\n"
    "Options:\n"
    "  -h --help          Show this screen.\n"
    "  --version          Show version.\n"
    "  --json             Print the report as one JSON document instead of text.\n"
    "  --png=<png>        Also draw the map into this PNG file.\n"
    "  --scale=<scale>    Pixels per tile edge in the PNG, 1 to 16. [default: 1]\n";

const std::string kUsageSection = kUsageText.substr(kUsageText.find("Usage:"));

TEST_F(InspectCli, HelpVersionAndRejectedCommandLines) {
  struct Case {
    const char* arguments;
    std::string out;
    std::string err;
    int status;
  };
  const Case cases[] = {
      {"--help", kUsageText, "", 0},
      {"-h good.map", kUsageText, "", 0},
      {"--version", "BETA\n", "", 0},
      {"", "", kUsageSection, 1},
      {"--colour=red good.map", "", kUsageSection, 1},
      {"good.map good.map", "", kUsageSection, 1},
      {"--png good.map", "", kUsageSection, 1},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << c.arguments;
    EXPECT_EQ(outcome.out, c.out) << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
}

TEST_F(InspectCli, FailuresEndWithOneErrorLine) {
  Bytes cut = good_;
  cut.resize(200);
  write("cut.map", cut);
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"missing.map", "Error: cannot read missing.map: No such file or directory\n"},
      {". ", "Error: cannot read .: not a regular file\n"},
      {"cut.map",
       "Error: section 6 at offset 93 has length 15012 but only 107 bytes are left in the file\n"},
      {"--scale=0 good.map", "Error: the preview scale must be 1 to 16, not 0\n"},
      {"--scale=abc good.map", "Error: invalid integer: abc\n"},
      {"--png=no/such/dir.png good.map",
       "Error: cannot write no/such/dir.png: No such file or directory\n"},
      // Control characters in a path are written out, not passed on.
      {"\"$(printf 'no\\nsuch.map')\"",
       "Error: cannot read no\\nsuch.map: No such file or directory\n"},
      {"--png=\"$(printf 'no\\tsuch')/x.png\" good.map",
       "Error: cannot write no\\tsuch/x.png: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 1) << c.arguments;
    EXPECT_EQ(outcome.out, "") << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
}

TEST_F(InspectCli, ReportsInTextOrJsonAndDrawsThePreview) {
  const Outcome text = run("good.map");
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.err, "");
  EXPECT_EQ(text.out.rfind("file: good.map (15143 bytes)\nchecksum: ok", 0), 0u) << text.out;
  EXPECT_NE(text.out.find("\nmax/min"), std::string::npos);

  const Outcome json = run("--json --png=map.png --scale=2 good.map");
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.err, "");
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["size"], 50);
  EXPECT_EQ(report["fairness"]["basis"], "player start spots");
  const std::string png = slurp(dir_ / "map.png");
  EXPECT_EQ(png.substr(1, 3), "PNG");

  // Control characters in the map's path are written out in the report too.
  write("line\nbreak.map", good_);
  const Outcome escaped = run("\"$(printf 'line\\nbreak.map')\"");
  EXPECT_EQ(escaped.out.rfind("file: line\\nbreak.map (15143 bytes)\n", 0), 0u) << escaped.out;

  Bytes tampered = good_;
  tampered[0] ^= 1;
  write("tampered.map", tampered);
  const Outcome warned = run("tampered.map");
  EXPECT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err.rfind("Warning: checksum mismatch: the file says ", 0), 0u) << warned.err;
  EXPECT_NE(warned.out.find("checksum: MISMATCH"), std::string::npos);
}

// Every write is checked: a report or preview that did not reach its place,
// or a preview that would overwrite the map, ends the run with one error line.
TEST_F(InspectCli, FailedWritesAreNoSuccess) {
  std::filesystem::create_symlink("good.map", dir_ / "alias.map");
  Bytes tampered = good_;
  tampered[0] ^= 1;
  write("tampered.map", tampered);
  const std::string program = std::string("'") + VARNHOLT_INSPECT_BINARY + "' ";
  const std::string noSpace =
      "Error: cannot write the report to standard output: No space left on device\n";
  struct Case {
    std::string command;
    std::string err;
  };
  const Case cases[] = {
      {program + "good.map >/dev/full", noSpace},
      {program + "--json good.map >/dev/full", noSpace},
      // A size limit stands in for a disk that fills during the report.
      {"trap '' XFSZ; ulimit -f 1; exec " + program + "--json good.map",
       "Error: cannot write the report to standard output: File too large\n"},
      {program + "--png=/dev/full good.map",
       "Error: cannot write /dev/full: a character device, not a regular file\n"},
      {program + "--png=good.map good.map",
       "Error: refusing to draw the preview good.map over the map file good.map\n"},
      {program + "--png=alias.map good.map",
       "Error: refusing to draw the preview alias.map over the map file good.map\n"},
      // The report would overwrite the preview.
      {program + "--png=p.png good.map >p.png",
       "Error: cannot write p.png: it is this program's standard output or error\n"},
      // Warnings that could not be written: no clean report, though the
      // error line is lost too.
      {program + "tampered.map 2>/dev/full", ""},
  };
  for (const Case& c : cases) {
    const Outcome outcome = varnholt::testing::runShellIn(dir_, c.command);
    EXPECT_EQ(outcome.status, 1) << c.command;
    EXPECT_EQ(outcome.err, c.err) << c.command;
  }
  EXPECT_TRUE(varnholt::testing::readBytes(dir_ / "good.map") == good_);
}

// Code 84 counts as a tree and 124 to 127 as stones; codes no object has are
// reported once, with their number.
TEST_F(InspectCli, ObjectCodesOfMapsMadeElsewhere) {
  varnholt::model::Map map = varnholt::testing::blankMap(50);
  const uint8_t codes[] = {84, 124, 125, 126, 127, 200, 255};
  for (size_t i = 0; i < std::size(codes); ++i) {
    map.objects[10 + 50 * i] = static_cast<varnholt::model::ObjectType>(codes[i]);
  }
  write("foreign.map", varnholt::testing::seal(varnholt::testing::layoutOf(map)));
  const Outcome outcome = run("foreign.map");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("\ntrees: 1\nstones: 4\n"), std::string::npos) << outcome.out;
  EXPECT_EQ(outcome.err,
            "Warning: 2 tiles hold object codes above 127, which no object has; the first, 200, "
            "at 10, 5\n");
}

// Lists at the caps are read and reported within seconds and a bounded
// memory; the million towers of a hostile file, more towers than the
// fairness table takes and a map too wide to report are refused at once.
TEST_F(InspectCli, LargeListsStayCheapOrAreRefused) {
  using varnholt::model::Map;
  Map full = varnholt::testing::blankMap(256);
  full.players.resize(varnholt::mapfile::MAX_PLAYERS, {varnholt::testing::playerName("P"), 9, 9,
                                                       varnholt::model::CivilizationType::ROMANS});
  full.playerCount = static_cast<uint32_t>(full.players.size());
  // As many towers as the fairness table takes, the other buildings of any kind.
  for (uint32_t i = 0; i < varnholt::mapfile::MAX_BUILDINGS; ++i) {
    const auto type = i < varnholt::inspect::MAX_START_SPOTS ? varnholt::model::BuildingType::TOWER
                                                             : varnholt::model::BuildingType::BAKER;
    full.buildings.push_back({static_cast<uint8_t>(i % 256), type, static_cast<uint16_t>(i % 256),
                              static_cast<uint16_t>(i / 256 * 6), {}, {}, {}});
  }
  full.settlers.resize(varnholt::mapfile::MAX_SETTLERS,
                       {0, varnholt::model::SettlerType::BEARER, 5, 5});
  full.stacks.resize(varnholt::mapfile::MAX_STACKS, {varnholt::model::StackType::PLANK, 7, 7, 8});
  write("full.map", varnholt::testing::seal(varnholt::testing::layoutOf(full)));

  Map hostile = varnholt::testing::blankMap(50);
  hostile.buildings.resize(1000000, {0, varnholt::model::BuildingType::TOWER, 25, 25, {}, {}, {}});
  write("hostile.map", varnholt::testing::seal(varnholt::testing::layoutOf(hostile)));
  hostile.buildings.resize(varnholt::inspect::MAX_START_SPOTS + 1);
  write("towers.map", varnholt::testing::seal(varnholt::testing::layoutOf(hostile)));
  const Map wide = varnholt::testing::blankMap(varnholt::inspect::MAX_REPORT_MAP_SIZE + 1);
  write("wide.map", varnholt::testing::seal(varnholt::testing::layoutOf(wide)));

  for (const char* format : {"--scale=1", "--json"}) {
    const Measured read = runMeasured(dir_, {format, (dir_ / "full.map").string()});
    EXPECT_EQ(read.status, 0) << format << ": " << read.err;
    EXPECT_LT(read.time, std::chrono::seconds(5) * varnholt::testing::BUDGET_FACTOR) << format;
    EXPECT_LT(read.peakKilobytes, 300 * 1024 * varnholt::testing::BUDGET_FACTOR) << format;

    const Measured refused = runMeasured(dir_, {format, (dir_ / "hostile.map").string()});
    EXPECT_EQ(refused.status, 1) << format;
    EXPECT_EQ(refused.err,
              "Error: buildings section counts 1000000 records; more than 10000 are not read\n");
    EXPECT_LT(refused.time, std::chrono::seconds(1) * varnholt::testing::BUDGET_FACTOR) << format;

    const Measured towers = runMeasured(dir_, {format, (dir_ / "towers.map").string()});
    EXPECT_EQ(towers.status, 1) << format;
    EXPECT_EQ(towers.err, "Error: the map has 257 towers; more than 256 are not read\n");
    EXPECT_LT(towers.time, std::chrono::seconds(1) * varnholt::testing::BUDGET_FACTOR) << format;

    const Measured tooWide = runMeasured(dir_, {format, (dir_ / "wide.map").string()});
    EXPECT_EQ(tooWide.status, 1) << format;
    EXPECT_EQ(tooWide.err,
              "Error: the map is 2049 tiles wide; maps wider than 2048 are not read\n");
  }
}

// A map too wide to report is refused at its size word: the 512 MiB file of
// a 9459-tile map (sparse, so it costs no disk) takes neither the reading of
// its tiles nor their memory.
TEST_F(InspectCli, TooWideMapIsRefusedBeforeItsTiles) {
  constexpr uint32_t kWide = 9459;
  varnholt::testing::FileLayout layout;
  layout.sections.push_back({1, varnholt::testing::mapInfoBody(0, 1, 0), {}});
  Bytes sizeWord;
  varnholt::testing::put32(sizeWord, kWide);
  layout.sections.push_back({6, sizeWord, 12 + uint32_t{6} * kWide * kWide});
  layout.trailer = {};
  const Bytes head = varnholt::testing::seal(layout);
  const std::filesystem::path wide = dir_ / "wide.map";
  write("wide.map", head);
  std::filesystem::resize_file(wide, head.size() + uint64_t{6} * kWide * kWide + 2);

  // A child's peak memory starts from the peak of the process it was spawned
  // from: what the inspector adds is measured above this test's own.
  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  const Measured refused = runMeasured(dir_, {wide.string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "Error: the map is 9459 tiles wide; maps wider than 2048 are not read\n");
  EXPECT_LT(refused.time, std::chrono::seconds(1) * varnholt::testing::BUDGET_FACTOR);
  EXPECT_LT(refused.peakKilobytes, self.ru_maxrss + 64 * 1024 * varnholt::testing::BUDGET_FACTOR);
}

// What is no regular file is opened without blocking and refused: a FIFO no
// one writes, a device, and a path that a racing renamer swaps between a map
// and a FIFO while the inspector runs. Each run ends promptly with a report
// or one error line.
TEST_F(InspectCli, FifosAndDevicesAreRefusedWithoutBlocking) {
  const std::filesystem::path fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto prompt = std::chrono::seconds(10) * varnholt::testing::BUDGET_FACTOR;
  for (const std::string& path : {fifo.string(), std::string("/dev/null")}) {
    const Measured refused = runMeasured(dir_, {path}, prompt);
    EXPECT_EQ(refused.status, 1) << path;
    EXPECT_EQ(refused.err, "Error: cannot read " + path + ": not a regular file\n");
  }

  const std::filesystem::path swapped = dir_ / "swapped.map";
  std::filesystem::create_symlink("good.map", swapped);
  std::atomic<bool> stop = false;
  std::thread renamer([&] {
    const std::filesystem::path next = dir_ / "next.map";
    for (bool toFifo = true; !stop; toFifo = !toFifo) {
      std::filesystem::remove(next);
      std::filesystem::create_symlink(toFifo ? "fifo" : "good.map", next);
      std::filesystem::rename(next, swapped);
    }
  });
  for (int run = 0; run < 100; ++run) {
    const Measured outcome = runMeasured(dir_, {swapped.string()}, prompt);
    if (outcome.status == 0 && outcome.err.empty()) continue;  // it opened the map
    EXPECT_EQ(outcome.status, 1) << "run " << run << " did not end by itself";
    EXPECT_EQ(outcome.err, "Error: cannot read " + swapped.string() + ": not a regular file\n");
  }
  stop = true;
  renamer.join();
}

}  // namespace
