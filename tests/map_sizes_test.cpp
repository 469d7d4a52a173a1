// Whole maps at the sizes of the game's own maps and others that are no
// multiple of the 20-tile terrain cells: each is made, read back from its file
// bytes and framed by deep water; sizes too small say why.
#include <gtest/gtest.h>

#include <string>

#include "console.h"
#include "expect_error.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using model::LandscapeType;

// The first tile of the frame that is not deep water at height 0, as "x,y",
// or "" when the whole 20-tile frame is.
std::string frameFault(const model::Map& map) {
  const int64_t size = map.size;
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      if (x >= 20 && y >= 20 && x < size - 20 && y < size - 20) continue;
      const auto i = static_cast<size_t>(y * size + x);
      if (map.landscape[i] != LandscapeType::WATER8 || map.heights[i] != 0) {
        return std::to_string(x) + "," + std::to_string(y);
      }
    }
  }
  return "";
}

TEST(MapSizes, EverySizeMakesAMapThatReadsBack) {
  for (int64_t size : {192, 256, 300, 384, 448, 512, 576, 640, 700, 768, 1024}) {
    SCOPED_TRACE(size);
    const model::Map map =
        generateMap({123456789, size, 4, model::StartResourcesType::HIGH}, testing::quiet);
    ASSERT_EQ(map.size, size);
    EXPECT_EQ(map.buildings.size(), 4u);
    EXPECT_EQ(frameFault(map), "");
    const mapfile::MapFile file = readMapFile(mapFileBytes(map, testing::quiet));
    EXPECT_TRUE(file.map == map);
    EXPECT_TRUE(file.warnings.empty()) << file.warnings.front();
  }
}

TEST(MapSizes, TooSmallSaysWhy) {
  struct Case {
    int64_t size;
    int64_t players;
    std::string message;
  };
  const Case cases[] = {
      {39, 1, "Illegal generate size -1"},  // no room for the frame
      {20, 1, "FAiled to create player start"},
      {50, 1, "FAiled to create player start"},  // all frame and flat water
      {192, 8, "FAiled to create player start"},
  };
  for (const Case& c : cases) {
    testing::expectError(
        [&] {
          generateMap({123456789, c.size, c.players, model::StartResourcesType::HIGH},
                      testing::quiet);
        },
        "Exception", c.message);
  }
}

}  // namespace
}  // namespace varnholt
