// The pieces start areas are grown from: regions of a set size, distances
// into and out of them, and the room for buildings counted while an area is
// laid out, each checked against a plain search or the inspector's count;
// and how alike two start areas' shapes look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <vector>

#include "blank_map.h"
#include "catalogue/footprints.h"
#include "generate/fairstages.h"
#include "generate/regiongrow.h"
#include "generate/shapelikeness.h"
#include "generate/startspots.h"
#include "generate/symmetry.h"
#include "geometry/gridturns.h"
#include "geometry/summedarea.h"
#include "inspect/fairness.h"

namespace varnholt::generate {
namespace {

// A 20 x 20 map whose left half (x < 10) is allowed, but for a wall at
// x = 5 with a gap at y = 2: 200 - 19 = 181 allowed tiles, all joined.
constexpr int64_t kSize = 20;
bool allowedTile(int64_t tile) {
  const int64_t x = tile % kSize;
  const int64_t y = tile / kSize;
  return x < 10 && (x != 5 || y == 2);
}

bool fourNeighbours(int64_t a, int64_t b) {
  return std::abs(a % kSize - b % kSize) + std::abs(a / kSize - b / kSize) == 1;
}

TEST(StartRegions, GrowJoinedOverAllowedTilesUpToTheCount) {
  // Lowest towards the bottom right, so growth pushes at the wall.
  const auto score = [](int64_t tile) { return -static_cast<double>(tile % kSize + tile / kSize); };
  struct Growth {
    Window window;
    int64_t seed, count;
    size_t size;
  };
  const Growth growths[] = {
      {{0, 0, kSize}, 3 + kSize * 3, 30, 30},
      {{0, 0, kSize}, 3 + kSize * 3, 1000, 181},  // runs out of allowed tiles
      {{0, 0, 8}, 3 + kSize * 3, 1000, 57},       // 64 in the window less 7 wall tiles
      {{0, 0, kSize}, 15 + kSize * 3, 10, 0},     // seed not allowed
      {{0, 0, kSize}, 3 + kSize * 3, 0, 0},
  };
  for (const Growth& g : growths) {
    const std::vector<int64_t> region =
        growRegion(kSize, g.window, g.seed, g.count, allowedTile, score);
    ASSERT_EQ(region.size(), g.size) << g.seed << " " << g.count << " " << g.window.side;
    if (region.empty()) continue;
    EXPECT_EQ(region.front(), g.seed);
    EXPECT_EQ(std::set<int64_t>(region.begin(), region.end()).size(), region.size());
    for (size_t i = 0; i < region.size(); ++i) {
      EXPECT_TRUE(allowedTile(region[i]));
      EXPECT_TRUE(g.window.holds(region[i] % kSize, region[i] / kSize));
      if (i == 0) continue;
      EXPECT_TRUE(std::any_of(region.begin(), region.begin() + static_cast<std::ptrdiff_t>(i),
                              [&](int64_t t) { return fourNeighbours(t, region[i]); }))
          << "tile " << region[i] << " joins nothing taken before it";
    }
  }
}

// King's moves to the nearest marked tile, and into the marked region, by
// looking at every tile of the window.
TEST(StartRegions, KingDistancesMatchAPlainSearch) {
  constexpr int64_t side = 9;
  const Window window{100, 200, side};
  std::vector<uint8_t> marks(side * side, 0);
  // A block touching the left edge, and one lone tile.
  for (int64_t y = 2; y <= 6; ++y) {
    for (int64_t x = 0; x <= 4; ++x) marks[static_cast<size_t>(x + side * y)] = 1;
  }
  marks[7 + side * 7] = 1;
  for (uint8_t cap : {uint8_t{2}, uint8_t{12}}) {
    const std::vector<uint8_t> out = kingDistances(window, marks, false, cap);
    const std::vector<uint8_t> in = kingDistances(window, marks, true, cap);
    for (int64_t y = 0; y < side; ++y) {
      for (int64_t x = 0; x < side; ++x) {
        // Tiles off the window count as unmarked.
        int64_t toMarked = cap;
        int64_t toUnmarked = std::min({x + 1, y + 1, side - x, side - y});
        for (int64_t ny = 0; ny < side; ++ny) {
          for (int64_t nx = 0; nx < side; ++nx) {
            const int64_t d = std::max(std::abs(nx - x), std::abs(ny - y));
            if (marks[static_cast<size_t>(nx + side * ny)] != 0) {
              toMarked = std::min(toMarked, d);
            } else {
              toUnmarked = std::min(toUnmarked, d);
            }
          }
        }
        const auto i = static_cast<size_t>(x + side * y);
        const bool marked = marks[i] != 0;
        EXPECT_EQ(out[i], std::min<int64_t>(toMarked, cap)) << x << "," << y << " cap " << +cap;
        EXPECT_EQ(in[i], marked ? std::min<int64_t>(toUnmarked, cap) : 0)
            << x << "," << y << " cap " << +cap;
      }
    }
  }
}

// The room is counted in a window START_LEVEL_RADIUS around the tower, so
// a footprint placed anywhere within the fairness radius must stay in it.
TEST(StartRoom, FootprintsFitTheWindowBeyondTheRadius) {
  for (const char* key : ROOM_KEYS) {
    for (const model::BuildingMetaBlock& cell : catalogue::buildingMeta(key).blocks) {
      EXPECT_LE(std::max(std::abs(cell.xOffset), std::abs(cell.yOffset)),
                START_LEVEL_RADIUS - START_RADIUS)
          << key;
    }
  }
}

// A map just the size of a start's window, the tower in the middle, with
// water, a stand of trees, a row of stones and a blocked patch.
constexpr int64_t kSide = 2 * START_LEVEL_RADIUS + 1;
model::Map windowMap() {
  model::Map map = testing::blankMap(static_cast<uint32_t>(kSide));
  const auto at = [&](int64_t x, int64_t y) { return static_cast<size_t>(x + kSide * y); };
  for (int64_t y = 10; y < 30; ++y) {
    for (int64_t x = 60 + y / 3; x < 75; ++x) map.landscape[at(x, y)] = model::LandscapeType::WATER1;
  }
  for (int64_t y = 55; y < 80; y += 2) {
    for (int64_t x = 20 + (y % 4); x < 45; x += 3) {
      map.objects[at(x, y)] = model::ObjectType::TREE_OAK_1;
    }
  }
  for (int64_t x = 50; x < 70; x += 4) map.objects[at(x, 70)] = model::ObjectType::RES_STONE_07;
  for (int64_t y = 40; y < 44; ++y) {
    for (int64_t x = 10; x < 16; ++x) map.accessible[at(x, y)] = model::AccessibleType::BLOCKED;
  }
  map.landscape[at(48, 20)] = model::LandscapeType::MOUNTAIN;
  return map;
}

std::vector<uint8_t> takenOf(const model::Map& map) {
  std::vector<uint8_t> taken(map.landscape.size(), 0);
  for (size_t i = 0; i < taken.size(); ++i) {
    taken[i] = map.landscape[i] != model::LandscapeType::GRASS ||
               map.objects[i] != model::ObjectType::NO_OBJECT ||
               model::isBlocked(map.accessible[i]);
  }
  return taken;
}

// The inspector's building spots within the fairness radius of the middle.
int64_t inspectorSpots(const model::Map& map, size_t footprint) {
  const std::vector<inspect::StartSpot> spots = {{0, START_LEVEL_RADIUS, START_LEVEL_RADIUS}};
  const geometry::SummedArea fits(kSide, inspect::buildingSpots(map, ROOM_KEYS[footprint], spots));
  return fits.circle(START_LEVEL_RADIUS, START_LEVEL_RADIUS, START_RADIUS);
}

// The room counted from the window's taken tiles equals the inspector's
// building spots, footprint by footprint.
TEST(StartRoom, CountsTheSpotsTheFairnessTableCounts) {
  const model::Map map = windowMap();
  const StartRoom room = countRoom(takenOf(map));
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    EXPECT_EQ(room.spots[f], inspectorSpots(map, f)) << ROOM_KEYS[f];
    EXPECT_GT(room.spots[f], 0) << ROOM_KEYS[f];
  }
}

// A symmetric map copies a start's ground to its images, but not the
// buildings' footprints: the room counted on the window as an image sees it
// equals the inspector's count on the mirrored map, and differs from the
// source's for some footprint.
TEST(StartRoom, CountsTheRoomOfEveryImageOfASymmetricMap) {
  const model::Map map = windowMap();
  const std::vector<uint8_t> taken = takenOf(map);
  for (int64_t element = 1; element < 4; ++element) {
    model::Map mirrored = map;
    for (int64_t y = 0; y < kSide; ++y) {
      for (int64_t x = 0; x < kSide; ++x) {
        const Tile from = image(element, kSide, {x, y});
        const auto i = static_cast<size_t>(x + kSide * y);
        const auto j = static_cast<size_t>(from.x + kSide * from.y);
        mirrored.landscape[i] = map.landscape[j];
        mirrored.objects[i] = map.objects[j];
        mirrored.accessible[i] = map.accessible[j];
      }
    }
    const StartRoom room = countRoom(mirroredWindow(taken, element));
    const StartRoom source = countRoom(taken);
    bool differs = false;
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      EXPECT_EQ(room.spots[f], inspectorSpots(mirrored, f)) << "element " << element;
      differs = differs || room.spots[f] != source.spots[f];
    }
    EXPECT_TRUE(differs) << "element " << element;
  }
}

// A shape of the window around a tower at (100, 100) with mountain and lake
// tiles at the given offsets.
struct Tiles {
  std::vector<std::array<int64_t, 2>> mountain, lake;
};
StartShape shapeOf(const Tiles& tiles) {
  StartShape shape;
  shape.window = {100 - START_LEVEL_RADIUS, 100 - START_LEVEL_RADIUS, 2 * START_LEVEL_RADIUS + 1};
  const auto area = static_cast<size_t>(shape.window.side * shape.window.side);
  shape.toMountain.assign(area, SHAPE_REACH);
  shape.lake.assign(area, 0);
  for (const auto& [dx, dy] : tiles.mountain) shape.toMountain[shape.window.at(100 + dx, 100 + dy)] = 0;
  for (const auto& [dx, dy] : tiles.lake) shape.lake[shape.window.at(100 + dx, 100 + dy)] = 1;
  return shape;
}

// A block of w x h tiles whose upper left lies at (x, y) from the tower.
std::vector<std::array<int64_t, 2>> block(int64_t x, int64_t y, int64_t w, int64_t h) {
  std::vector<std::array<int64_t, 2>> tiles;
  for (int64_t dy = 0; dy < h; ++dy) {
    for (int64_t dx = 0; dx < w; ++dx) tiles.push_back({x + dx, y + dy});
  }
  return tiles;
}

// An uneven pattern (a mountain of two blocks, a lake) against turned,
// mirrored, moved and relabelled versions of itself.
TEST(ShapeLikeness, SeesTurnedAndMirroredCopiesAndOnlyThem) {
  const auto turned = [](const Tiles& tiles, auto turn) {
    Tiles out;
    for (const auto& t : tiles.mountain) out.mountain.push_back(turn(t[0], t[1]));
    for (const auto& t : tiles.lake) out.lake.push_back(turn(t[0], t[1]));
    return out;
  };
  Tiles original{block(20, -4, 8, 6), block(-30, 10, 5, 5)};
  const std::vector<std::array<int64_t, 2>> side = block(28, -4, 3, 12);
  original.mountain.insert(original.mountain.end(), side.begin(), side.end());
  const ShapeLikeness base(shapeOf(original));
  struct Case {
    const char* what;
    Tiles tiles;
    double least, most;
  };
  const Case cases[] = {
      {"itself", original, 1, 1},
      {"a quarter turn", turned(original, [](int64_t x, int64_t y) { return std::array{-y, x}; }),
       1, 1},
      {"mirrored", turned(original, [](int64_t x, int64_t y) { return std::array{-x, y}; }), 1,
       1},
      {"mirrored on the diagonal",
       turned(original, [](int64_t x, int64_t y) { return std::array{y, x}; }), 1, 1},
      {"turned by an eighth",
       turned(original,
              [](int64_t x, int64_t y) {
                const geometry::Offset o = geometry::turnedEighth({x, y});
                return std::array{o.dx, o.dy};
              }),
       0.6, 1},
      {"moved away by about its width",
       turned(original, [](int64_t x, int64_t y) { return std::array{x + 11, y + 14}; }), 0, 0.2},
      {"mountain and lake swapped", {original.lake, original.mountain}, 0, 0.2},
      {"nothing", {}, 0, 0},
  };
  for (const Case& c : cases) {
    const ShapeLikeness other(shapeOf(c.tiles));
    EXPECT_GE(other.with(base), c.least) << c.what;
    EXPECT_LE(other.with(base), c.most) << c.what;
  }
}

}  // namespace
}  // namespace varnholt::generate
