#include "app/around.h"
#include "app/stages.h"

namespace varnholt::app {

using model::AccessibleType;
using model::LandscapeType;

namespace {

// One pass over all tiles in index order: a tile that passes isTile and has a
// neighbour that passes isNeighbour becomes kind with access. Neighbours are
// read from the live layer; no pass writes a kind that its own tests look
// for, so this equals reading a copy taken before the pass.
template <typename TileTest, typename NeighbourTest>
void outline(model::Map& map, TileTest isTile, NeighbourTest isNeighbour, LandscapeType kind,
             AccessibleType access) {
  const int64_t size = map.size;
  LandscapeType* landscape = map.landscape.data();
  int64_t i = 0;
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x, ++i) {
      if (!isTile(landscape[i])) continue;
      for (int64_t n : aroundIndices(size, size, i, x)) {
        if (isNeighbour(landscape[n])) {
          landscape[i] = kind;
          map.accessible[i] = access;
          break;
        }
      }
    }
  }
}

auto is(LandscapeType kind) {
  return [kind](LandscapeType t) { return t == kind; };
}

}  // namespace

void initLandscapeOutlines(model::Map& map) {
  using model::isDesert;
  using model::isMoor;
  using model::isMountain;
  using model::isSnow;
  using model::isWater;
  const auto notMountain = [](LandscapeType t) { return !isMountain(t); };
  const auto notDesert = [](LandscapeType t) { return !isDesert(t); };
  const auto notSnow = [](LandscapeType t) { return !isSnow(t); };
  const auto notMoor = [](LandscapeType t) { return !isMoor(t); };
  const auto notMountainNorSnow = [](LandscapeType t) { return !isMountain(t) && !isSnow(t); };
  const auto notDesertNorSnow = [](LandscapeType t) { return !isDesert(t) && !isSnow(t); };
  const auto water = [](LandscapeType t) { return isWater(t); };
  const auto land = [](LandscapeType t) { return !isWater(t) && t != LandscapeType::SAND; };
  constexpr AccessibleType kEmpty = AccessibleType::EMPTY;
  constexpr AccessibleType kBlocked = AccessibleType::BLOCKED;

  // Mountains and deserts: a border ring inside, then an outer ring around it.
  outline(map, is(LandscapeType::MOUNTAIN), notMountainNorSnow, LandscapeType::MOUNTAINBORDER,
          kEmpty);
  outline(map, notMountain, is(LandscapeType::MOUNTAINBORDER), LandscapeType::MOUNTAINBORDEROUTER,
          kEmpty);
  outline(map, is(LandscapeType::DESERT), notDesertNorSnow, LandscapeType::DESERTBORDER, kEmpty);
  outline(map, notDesert, is(LandscapeType::DESERTBORDER), LandscapeType::DESERTBORDEROUTER,
          kEmpty);

  // Snow and moor: a walkable border ring, then a blocked ring of the solid kind.
  outline(map, is(LandscapeType::SNOWINNER), notSnow, LandscapeType::SNOWBORDER, kEmpty);
  outline(map, is(LandscapeType::SNOWINNER), is(LandscapeType::SNOWBORDER), LandscapeType::SNOW,
          kBlocked);
  outline(map, is(LandscapeType::MOORINNER), notMoor, LandscapeType::MOORBORDER, kEmpty);
  outline(map, is(LandscapeType::MOORINNER), is(LandscapeType::MOORBORDER), LandscapeType::MOOR,
          kBlocked);

  // Water that touches land other than sand becomes a blocked sand shore.
  outline(map, water, land, LandscapeType::SAND, kBlocked);
}

}  // namespace varnholt::app
