// The library as a caller sees it: options in, map and file bytes out, and
// maps made on several threads at once exactly as made alone.
#include "varnholt/inspect.h"
#include "varnholt/landscape.h"
#include "varnholt/look.h"
#include "varnholt/varnholt.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "console.h"
#include "expect_error.h"

namespace varnholt {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes fileOf(const GenerateOptions& options) {
  return mapFileBytes(generateMap(options, testing::quiet), testing::quiet);
}

TEST(Library, MapsOnTwoThreadsEqualTheirSingleThreadedBytes) {
  const GenerateOptions first{42, 320, 8, model::StartResourcesType::HIGH};
  const GenerateOptions second{-5, 640, 5, model::StartResourcesType::LOW};
  const Bytes firstAlone = fileOf(first);
  const Bytes secondAlone = fileOf(second);
  ASSERT_NE(firstAlone, secondAlone);

  for (int round = 0; round < 3; ++round) {
    Bytes firstThreaded;
    Bytes secondThreaded;
    std::thread a([&] { firstThreaded = fileOf(first); });
    std::thread b([&] { secondThreaded = fileOf(second); });
    a.join();
    b.join();
    EXPECT_EQ(firstThreaded, firstAlone) << "round " << round;
    EXPECT_EQ(secondThreaded, secondAlone) << "round " << round;
  }
}

TEST(Library, ConsoleReceivesTheRunsLinesInOrder) {
  testing::Recorder printed;
  const model::Map map = generateMap({}, printed.console());
  EXPECT_TRUE(printed.text().starts_with("init stacks for ")) << printed.text().substr(0, 40);
  EXPECT_TRUE(printed.text().ends_with(
      "ref 0xb8 --> [stackType = BREAD,\nposX = 286,\nposY = 45,\ncount = 7]\n"));
  testing::Recorder written;
  const Bytes file = mapFileBytes(map, written.console());
  EXPECT_TRUE(written.text().starts_with("write 1\nwrite 2\n"));
  EXPECT_TRUE(written.text().ends_with("stream end\nsize " + std::to_string(file.size()) + "\n"));
}

TEST(Library, FileBytesReadBackToTheSameMap) {
  const model::Map map =
      generateMap({7, 200, 2, model::StartResourcesType::MEDIUM}, testing::quiet);
  const mapfile::MapFile file = readMapFile(mapFileBytes(map, testing::quiet));
  EXPECT_TRUE(file.map == map);
  EXPECT_TRUE(file.warnings.empty());
  EXPECT_EQ(inspect::fairness(file.map).rows.size(), 2u);
  EXPECT_EQ(inspect::measureLandscape(file.map).walkGroupOfStart.size(), 2u);
  EXPECT_EQ(inspect::measureLook(file.map).largeSpots.perStart.size(), 2u);
  EXPECT_EQ(inspect::renderPreview(file.map).rgb.size(), size_t{3} * 200 * 200);
}

TEST(Library, OptionsOutOfRangeAreRefused) {
  struct Case {
    GenerateOptions options;
    std::string message;
  };
  const Case cases[] = {
      {{1, 0, 8, model::StartResourcesType::HIGH}, "Illegal map size 0"},
      {{1, MAX_MAP_SIZE + 1, 8, model::StartResourcesType::HIGH}, "Illegal map size 26741"},
      {{1, MIN_MAP_SIZE - 1, 1, model::StartResourcesType::HIGH}, "Illegal generate size -1"},
      {{1, 320, 0, model::StartResourcesType::HIGH}, "Illegal player count 0"},
      {{1, 320, MAX_PLAYER_COUNT + 1, model::StartResourcesType::HIGH}, "Illegal player count 255"},
      {{1, 60, 40, model::StartResourcesType::HIGH}, "FAiled to create player start"},
  };
  for (const Case& c : cases) {
    testing::expectError([&] { generateMap(c.options, testing::quiet); }, "Exception", c.message);
  }
}

// Each option as a caller types it: the command line's integer grammar for
// the numbers, the keys for goods and starts; a refused text leaves the
// options as they were.
TEST(Library, OptionsReadFromText) {
  GenerateOptions options;
  setOption(options, "seed", "-1_000");
  setOption(options, "size", "+384");
  setOption(options, "playerCount", "4");
  setOption(options, "startGoods", "LG");
  setOption(options, "starts", "symmetric");
  EXPECT_EQ(options.seed, -1000);
  EXPECT_EQ(options.size, 384);
  EXPECT_EQ(options.playerCount, 4);
  EXPECT_EQ(options.startGoods, model::StartResourcesType::LOW);
  EXPECT_EQ(options.mode, StartMode::SYMMETRIC);
  setOption(options, "starts", "fair");
  EXPECT_EQ(options.mode, StartMode::FAIR);
  setOption(options, "starts", "classic");
  EXPECT_EQ(options.mode, StartMode::CLASSIC);
  setOption(options, "seed", "-9223372036854775808");
  EXPECT_EQ(options.seed, INT64_MIN);

  struct Case {
    const char* name;
    const char* text;
    const char* kind;
    const char* message;
  };
  const Case refused[] = {
      {"seed", "12abc", "ValueError", "invalid integer: 12abc"},
      {"seed", "", "ValueError", "invalid integer: "},
      {"size", "1e3", "ValueError", "invalid integer: 1e3"},
      {"playerCount", "9223372036854775808", "ValueError", "Parsed integer outside of valid range"},
      {"startGoods", "hg", "Exception", "Illegal start goods key"},
      {"starts", "Fair", "Exception", "invalid starts: Fair"},
      {"players", "4", "KeyError", "unknown option: players"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    const GenerateOptions before = options;
    testing::expectError([&] { setOption(options, c.name, c.text); }, c.kind, c.message);
    EXPECT_EQ(options.seed, before.seed);
    EXPECT_EQ(options.size, before.size);
    EXPECT_EQ(options.playerCount, before.playerCount);
  }
}

}  // namespace
}  // namespace varnholt
