#include <cstdlib>
#include <vector>

#include "generate/random.h"
#include "generate/stages.h"
#include "geometry/around.h"
#include "geometry/tiles.h"

namespace varnholt::generate {

using geometry::aroundIndices;

using model::LandscapeType;

namespace {

bool hasGrassNeighbour(const model::Map& map, int64_t i) {
  const int64_t size = map.size;
  for (int64_t n : aroundIndices(size, size, i)) {
    if (map.landscape[n] == LandscapeType::GRASS) return true;
  }
  return false;
}

// Walks from the source (x, y) to the target (tx, ty), closing the larger
// distance first (rows on ties), and collects the tiles into path. False as
// soon as a tile is not grass or has no grass neighbour.
bool tracePath(const model::Map& map, int64_t x, int64_t y, int64_t tx, int64_t ty,
               std::vector<int64_t>& path) {
  const int64_t size = map.size;
  path.assign(1, x + size * y);
  int64_t cx = x;
  int64_t cy = y;
  while (true) {
    if (std::abs(cy - ty) < std::abs(cx - tx)) {
      cx += tx > cx ? 1 : -1;
    } else {
      cy += ty >= cy ? 1 : -1;
    }
    // Only a target equal to a source on the last row steps off the map; such
    // a walk would come straight back to the sand source and fail anyway.
    if (cy >= size) return false;
    const int64_t p = cx + size * cy;
    path.push_back(p);
    if (!hasGrassNeighbour(map, p) || map.landscape[p] != LandscapeType::GRASS) return false;
    if (cx == tx && cy == ty) return true;
  }
}

}  // namespace

void initRivers(model::Map& map, Random& random) {
  const int64_t size = map.size;
  const int64_t tiles = length(map);
  std::vector<int64_t> path;
  for (int64_t i = 0; i < tiles; ++i) {
    if (map.landscape[i] != LandscapeType::SAND) continue;
    if (random.rand(5) != 1) continue;
    const int64_t x = varnholt::x(size, i);
    const int64_t y = varnholt::y(size, i);
    const int64_t span = random.rand(20) + 10;
    const auto half = static_cast<int64_t>(static_cast<double>(span) * 0.5);
    const int64_t tx = x + random.rand(span) - half;
    const int64_t ty = y + random.rand(span) - half;
    if (tx < 0 || ty < 0 || tx >= size || ty >= size) continue;
    if (!tracePath(map, x, y, tx, ty, path)) continue;
    for (int64_t p : path) map.landscape[p] = model::RIVER_TYPES[random.rand(3)];
  }
}

}  // namespace varnholt::generate
