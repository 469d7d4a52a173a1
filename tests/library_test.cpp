// The library as a caller sees it: options in, map and file bytes out, and
// maps made on several threads at once exactly as made alone.
#include "varnholt.h"

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
  EXPECT_EQ(fairness(file.map).rows.size(), 2u);
  EXPECT_EQ(landscape(file.map).walkGroupOfStart.size(), 2u);
  EXPECT_EQ(look(file.map).largeSpots.perStart.size(), 2u);
  EXPECT_EQ(renderPreview(file.map).rgb.size(), size_t{3} * 200 * 200);
}

TEST(Library, OptionsOutOfRangeAreRefused) {
  struct Case {
    GenerateOptions options;
    std::string message;
  };
  const Case cases[] = {
      {{1, 0, 8, model::StartResourcesType::HIGH}, "Illegal map size 0"},
      {{1, MAX_MAP_SIZE + 1, 8, model::StartResourcesType::HIGH}, "Illegal map size 26741"},
      {{1, 320, 0, model::StartResourcesType::HIGH}, "Illegal player count 0"},
      {{1, 320, MAX_PLAYER_COUNT + 1, model::StartResourcesType::HIGH}, "Illegal player count 255"},
      {{1, 60, 40, model::StartResourcesType::HIGH}, "FAiled to create player start"},
  };
  for (const Case& c : cases) {
    testing::expectError([&] { generateMap(c.options, testing::quiet); }, "Exception", c.message);
  }
}

}  // namespace
}  // namespace varnholt
