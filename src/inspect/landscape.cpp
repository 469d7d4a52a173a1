#include "inspect/landscape.h"

#include <algorithm>

#include "inspect/fairness.h"
#include "model/groundrules.h"

namespace varnholt::inspect {

bool isSwampGround(model::LandscapeType t) {
  using model::LandscapeType;
  return model::isMoor(t) || t == LandscapeType::MUDBORDER || t == LandscapeType::MUDINNER ||
         t == LandscapeType::MUD;
}

bool blocksWalking(model::LandscapeType t) {
  using model::LandscapeType;
  return model::isWater(t) || t == LandscapeType::MOORINNER || t == LandscapeType::MUDINNER ||
         t == LandscapeType::SNOWINNER;
}

namespace {

using model::LandscapeType;
using model::Map;
using model::ResourceType;
using model::isRiver;

// The connected components of the tiles marked nonzero.
struct Components {
  std::vector<int32_t> label;  // per tile: its component, -1 where not marked
  std::vector<int64_t> tiles;  // per component, numbered in row-major order of first tiles
  std::vector<bool> touchesEdge;
};

// Flood fill over the 8 neighbours with an explicit stack, one pass.
Components components(int64_t size, const std::vector<uint8_t>& marked) {
  struct Tile {
    int32_t x, y;
  };
  Components c;
  c.label.assign(marked.size(), -1);
  std::vector<Tile> stack;
  for (int64_t start = 0; start < size * size; ++start) {
    if (c.label[start] >= 0 || marked[start] == 0) continue;
    const auto id = static_cast<int32_t>(c.tiles.size());
    int64_t count = 0;
    bool edge = false;
    c.label[start] = id;
    stack.push_back({static_cast<int32_t>(start % size), static_cast<int32_t>(start / size)});
    while (!stack.empty()) {
      const Tile tile = stack.back();
      stack.pop_back();
      ++count;
      const int64_t x = tile.x;
      const int64_t y = tile.y;
      edge = edge || x == 0 || y == 0 || x == size - 1 || y == size - 1;
      for (int64_t ny = std::max<int64_t>(y - 1, 0); ny <= std::min(y + 1, size - 1); ++ny) {
        for (int64_t nx = std::max<int64_t>(x - 1, 0); nx <= std::min(x + 1, size - 1); ++nx) {
          const int64_t next = nx + size * ny;
          if (c.label[next] >= 0 || marked[next] == 0) continue;
          c.label[next] = id;
          stack.push_back({static_cast<int32_t>(nx), static_cast<int32_t>(ny)});
        }
      }
    }
    c.tiles.push_back(count);
    c.touchesEdge.push_back(edge);
  }
  return c;
}

// 1 where the ground passes the test, 0 elsewhere.
template <typename Test>
std::vector<uint8_t> mark(const Map& map, Test test) {
  std::vector<uint8_t> marked(map.landscape.size());
  for (size_t i = 0; i < marked.size(); ++i) marked[i] = test(map.landscape[i]);
  return marked;
}

void countGround(const Map& map, Landscape& l) {
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    const LandscapeType t = map.landscape[i];
    if (model::isWater(t)) {
      ++l.waterTiles;
    } else if (t == LandscapeType::GRASS) {
      ++l.grass;
    } else if (model::isDesert(t) || t == LandscapeType::SAND) {
      ++l.desert;
    } else if (isSwampGround(t)) {
      ++l.swamp;
    } else if (model::isMountain(t)) {
      ++l.mountain;
    } else if (model::isSnow(t)) {
      ++l.snow;
    } else if (isRiver(t)) {
      ++l.river;
    } else {
      ++l.other;
    }
    l.trees += isTree(map.objects[i]);
    l.stones += isStone(map.objects[i]);
    const int64_t amount = map.resourceAmounts[i];
    switch (map.resources[i]) {
      case ResourceType::FISH: l.fish += amount; break;
      case ResourceType::COAL: l.coal += amount; break;
      case ResourceType::IRONORE: l.iron += amount; break;
      case ResourceType::GOLDORE: l.gold += amount; break;
      case ResourceType::GEMS: l.gems += amount; break;
      case ResourceType::SULFUR: l.sulfur += amount; break;
      default: break;
    }
  }
  l.tiles = static_cast<int64_t>(map.landscape.size());
  l.landTiles = l.tiles - l.waterTiles;
  if (l.tiles > 0) l.waterShare = static_cast<double>(l.waterTiles) / l.tiles;
}

void addLandMasses(const Map& map, const std::vector<StartSpot>& spots, Landscape& l) {
  const int64_t size = map.size;
  const Components land =
      components(size, mark(map, [](LandscapeType t) { return !model::isWater(t); }));
  std::vector<LandMass> masses(land.tiles.size());
  for (size_t m = 0; m < masses.size(); ++m) masses[m].tiles = land.tiles[m];
  for (size_t s = 0; s < spots.size(); ++s) {
    const int32_t m = land.label[spots[s].x + size * spots[s].y];
    if (m >= 0) masses[m].starts.push_back(s);
  }
  std::stable_sort(masses.begin(), masses.end(),
                   [](const LandMass& a, const LandMass& b) { return a.tiles > b.tiles; });
  l.landMasses = std::move(masses);
  if (l.landTiles > 0) {
    l.largestMassShare = static_cast<double>(l.landMasses.front().tiles) / l.landTiles;
  }
}

void addInlandLakes(const Map& map, Landscape& l) {
  const Components water = components(map.size, mark(map, model::isWater));
  for (size_t w = 0; w < water.tiles.size(); ++w) {
    if (water.touchesEdge[w]) continue;
    ++l.inlandLakes;
    l.inlandLakeTiles += water.tiles[w];
  }
  if (l.tiles > 0) l.inlandLakeShare = static_cast<double>(l.inlandLakeTiles) / l.tiles;
}

void addWalkGroups(const Map& map, const std::vector<StartSpot>& spots, Landscape& l) {
  const int64_t size = map.size;
  const Components walk =
      components(size, mark(map, [](LandscapeType t) { return !blocksWalking(t); }));
  std::vector<int64_t> groupOfComponent(walk.tiles.size(), -1);
  size_t groups = 0;
  for (const StartSpot& spot : spots) {
    const int32_t c = walk.label[spot.x + size * spot.y];
    if (c < 0) {
      l.walkGroupOfStart.push_back(groups++);
      continue;
    }
    if (groupOfComponent[c] < 0) groupOfComponent[c] = static_cast<int64_t>(groups++);
    l.walkGroupOfStart.push_back(static_cast<size_t>(groupOfComponent[c]));
  }
  l.startsReachableOnFoot = groups <= 1;
}

}  // namespace

double landShare(const Landscape& landscape, int64_t tiles) {
  return landscape.landTiles > 0 ? static_cast<double>(tiles) / landscape.landTiles : 0.0;
}

Landscape measureLandscape(const Map& map) {
  Landscape l;
  const std::vector<StartSpot> spots = startSpots(map);
  countGround(map, l);
  addLandMasses(map, spots, l);
  addInlandLakes(map, l);
  addWalkGroups(map, spots, l);
  return l;
}

}  // namespace varnholt::inspect
