#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generate/random.h"
#include "generate/stages.h"
#include "geometry/around.h"
#include "terrain_fixture.h"

namespace varnholt::generate {

using geometry::Around;
using model::Grid;
using geometry::Neighbours;
using geometry::aroundIndices;
using geometry::aroundValues;

namespace {

using fixture::accessArt;
using fixture::landscapeArt;
using fixture::mapFromArt;
using Art = std::vector<std::string>;

std::vector<int64_t> around(int64_t w, int64_t h, int64_t i) {
  const Around a = aroundIndices(w, h, i);
  return {a.begin(), a.end()};
}

TEST(Around, OrderAndEdgesOnAFourByThreeGrid) {
  // 0  1  2  3
  // 4  5  6  7
  // 8  9 10 11
  EXPECT_EQ(around(4, 3, 5), (std::vector<int64_t>{1, 0, 2, 4, 6, 9, 8, 10}));
  EXPECT_EQ(around(4, 3, 0), (std::vector<int64_t>{1, 4, 5}));
  EXPECT_EQ(around(4, 3, 1), (std::vector<int64_t>{0, 2, 5, 4, 6}));
  EXPECT_EQ(around(4, 3, 3), (std::vector<int64_t>{2, 7, 6}));
  EXPECT_EQ(around(4, 3, 4), (std::vector<int64_t>{0, 1, 5, 8, 9}));
  EXPECT_EQ(around(4, 3, 7), (std::vector<int64_t>{3, 2, 6, 11, 10}));
  EXPECT_EQ(around(4, 3, 8), (std::vector<int64_t>{4, 5, 9}));
  EXPECT_EQ(around(4, 3, 11), (std::vector<int64_t>{7, 6, 10}));
  // The row-walking form gives the same answer when handed the column.
  for (int64_t i = 0; i < 12; ++i) {
    const Around a = aroundIndices(4, 3, i, i % 4);
    EXPECT_EQ(std::vector<int64_t>(a.begin(), a.end()), around(4, 3, i)) << "tile " << i;
  }

  Grid<uint8_t> grid(4, 3);
  for (size_t i = 0; i < grid.data.size(); ++i) grid.data[i] = static_cast<uint8_t>(10 * i);
  const Neighbours<uint8_t> values = aroundValues(grid, 7);
  EXPECT_EQ(std::vector<uint8_t>(values.begin(), values.end()),
            (std::vector<uint8_t>{30, 20, 60, 110, 100}));
}

// Runs the stage and checks it drew nothing.
void outline(model::Map& map) {
  Random random(5);
  const RandomState before = random.state;
  initLandscapeOutlines(map);
  EXPECT_EQ(random.state, before);
}

TEST(Outlines, SingleMountainAmidGrass) {
  model::Map map = mapFromArt({"ggggg", "ggggg", "ggMgg", "ggggg", "ggggg"});
  outline(map);
  EXPECT_EQ(landscapeArt(map), (Art{"ggggg", "gooog", "gomog", "gooog", "ggggg"}));
  EXPECT_EQ(accessArt(map), (Art{".....", ".....", ".....", ".....", "....."}));
}

// A 5x5 block of one inner kind inside a ring of grass, on a 7x7 map.
TEST(Outlines, RingsAroundEachKind) {
  struct Case {
    char inner;
    Art land;
    Art access;
  };
  const Case cases[] = {
      {'M',
       {"ooooooo", "ommmmmo", "omMMMmo", "omMMMmo", "omMMMmo", "ommmmmo", "ooooooo"},
       {".......", ".......", ".......", ".......", ".......", ".......", "......."}},
      {'D',
       {"eeeeeee", "eddddde", "edDDDde", "edDDDde", "edDDDde", "eddddde", "eeeeeee"},
       {".......", ".......", ".......", ".......", ".......", ".......", "......."}},
      {'S',
       {"ggggggg", "gsssssg", "gsnnnsg", "gsnSnsg", "gsnnnsg", "gsssssg", "ggggggg"},
       {".......", ".......", "..###..", "..###..", "..###..", ".......", "......."}},
      {'R',
       {"ggggggg", "grrrrrg", "grqqqrg", "grqRqrg", "grqqqrg", "grrrrrg", "ggggggg"},
       {".......", ".......", "..###..", "..###..", "..###..", ".......", "......."}},
  };
  for (const Case& c : cases) {
    Art art(7, "ggggggg");
    for (int y = 1; y <= 5; ++y) art[y].replace(1, 5, 5, c.inner);
    model::Map map = mapFromArt(art);
    outline(map);
    EXPECT_EQ(landscapeArt(map), c.land) << "inner kind " << c.inner;
    EXPECT_EQ(accessArt(map), c.access) << "inner kind " << c.inner;
  }
}

TEST(Outlines, MountainAmongSnowStaysAndSnowNextToMountainGetsBorder) {
  model::Map map = mapFromArt({"MSM", "SMn", "MsM"});
  outline(map);
  EXPECT_EQ(landscapeArt(map), (Art{"MsM", "sMn", "MsM"}));
  EXPECT_EQ(accessArt(map), (Art{"...", "..#", "..."}));
}

TEST(Outlines, DesertOuterRingReplacesMountainOuterRing) {
  model::Map map =
      mapFromArt({"ggggggg", "gMgDggg", "ggggggg", "ggggggg", "ggggggg", "ggggggg", "ggggggg"});
  outline(map);
  EXPECT_EQ(landscapeArt(map),
            (Art{"ooeeegg", "omedegg", "ooeeegg", "ggggggg", "ggggggg", "ggggggg", "ggggggg"}));
}

TEST(Outlines, SandShoreOnWaterTouchingLand) {
  // Corner and edge water tiles (3 and 5 neighbours) next to the grass tile
  // become blocked shore; water next only to sand or to new shore stays.
  model::Map map = mapFromArt({"WWWWWW", "WgWWWW", "WWWWWW", "WWWWWW", "WWWW_W", "WWWWWW"});
  outline(map);
  EXPECT_EQ(landscapeArt(map), (Art{"___WWW", "_g_WWW", "___WWW", "WWWWWW", "WWWW_W", "WWWWWW"}));
  EXPECT_EQ(accessArt(map), (Art{"######", "#.####", "######", "######", "####.#", "######"}));
}

// The passes as the tile-by-tile walk over the live layer, first neighbour
// in order wins; the stage must agree with it on any ground.
void referenceOutlines(model::Map& map) {
  using model::isDesert;
  using model::isMoor;
  using model::isMountain;
  using model::isSnow;
  using model::isWater;
  using L = model::LandscapeType;
  using model::AccessibleType;
  using Test = bool (*)(L);
  struct Pass {
    Test tile;
    Test neighbour;
    L kind;
    AccessibleType access;
  };
  const Pass passes[] = {
      {[](L t) { return t == L::MOUNTAIN; }, [](L t) { return !isMountain(t) && !isSnow(t); },
       L::MOUNTAINBORDER, AccessibleType::EMPTY},
      {[](L t) { return !isMountain(t); }, [](L t) { return t == L::MOUNTAINBORDER; },
       L::MOUNTAINBORDEROUTER, AccessibleType::EMPTY},
      {[](L t) { return t == L::DESERT; }, [](L t) { return !isDesert(t) && !isSnow(t); },
       L::DESERTBORDER, AccessibleType::EMPTY},
      {[](L t) { return !isDesert(t); }, [](L t) { return t == L::DESERTBORDER; },
       L::DESERTBORDEROUTER, AccessibleType::EMPTY},
      {[](L t) { return t == L::SNOWINNER; }, [](L t) { return !isSnow(t); }, L::SNOWBORDER,
       AccessibleType::EMPTY},
      {[](L t) { return t == L::SNOWINNER; }, [](L t) { return t == L::SNOWBORDER; }, L::SNOW,
       AccessibleType::BLOCKED},
      {[](L t) { return t == L::MOORINNER; }, [](L t) { return !isMoor(t); }, L::MOORBORDER,
       AccessibleType::EMPTY},
      {[](L t) { return t == L::MOORINNER; }, [](L t) { return t == L::MOORBORDER; }, L::MOOR,
       AccessibleType::BLOCKED},
      {[](L t) { return isWater(t); }, [](L t) { return !isWater(t) && t != L::SAND; }, L::SAND,
       AccessibleType::BLOCKED},
  };
  const int64_t size = map.size;
  for (const Pass& pass : passes) {
    for (int64_t i = 0; i < size * size; ++i) {
      if (!pass.tile(map.landscape[i])) continue;
      for (int64_t n : aroundIndices(size, size, i)) {
        if (pass.neighbour(map.landscape[n])) {
          map.landscape[i] = pass.kind;
          map.accessible[i] = pass.access;
          break;
        }
      }
    }
  }
}

TEST(Outlines, AgreesWithTheTileByTileWalkOnMixedGround) {
  // Patches of every inner kind, water, sand and grass, down to single tiles
  // on the map's edges and corners.
  const std::string glyphs = "gggwW_MDSR";
  for (const int64_t size : {1, 2, 3, 17, 64}) {
    Random random(size);
    Art art(static_cast<size_t>(size), std::string(static_cast<size_t>(size), 'g'));
    for (std::string& row : art) {
      for (char& glyph : row) glyph = glyphs[static_cast<size_t>(random.rand(9))];
    }
    model::Map expected = mapFromArt(art);
    referenceOutlines(expected);
    model::Map map = mapFromArt(art);
    outline(map);
    EXPECT_EQ(landscapeArt(map), landscapeArt(expected)) << "size " << size;
    EXPECT_EQ(accessArt(map), accessArt(expected)) << "size " << size;
  }
}

}  // namespace
}  // namespace varnholt::generate
