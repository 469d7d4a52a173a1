#include "catalogue/mapedit.h"
#include "generate/heightfield.h"
#include "generate/random.h"
#include "generate/stages.h"
#include "geometry/around.h"

namespace varnholt::generate {

using geometry::aroundIndices;

using model::LandscapeType;
using model::Map;

namespace {

// True when no neighbour of tile i blocks the way; the tile itself is not looked at.
bool freeAround(const Map& map, int64_t size, int64_t i, int64_t column) {
  const auto empty = [&map](int64_t tile) {
    return model::isEmptyOnMap(map, static_cast<size_t>(tile));
  };
  // Away from the edges all eight neighbours exist: no bounds to check.
  if (column > 0 && column < size - 1 && i >= size && i < size * size - size) {
    return empty(i - size - 1) && empty(i - size) && empty(i - size + 1) && empty(i - 1) &&
           empty(i + 1) && empty(i + size - 1) && empty(i + size) && empty(i + size + 1);
  }
  for (int64_t neighbour : aroundIndices(size, size, i, column)) {
    if (!empty(neighbour)) return false;
  }
  return true;
}

// One draw of rand(field) decides: an object on a hit of 10, of the kind
// drawn next, if the tile is still empty.
template <size_t N>
void maybePlace(Map& map, Random& random, int64_t i, uint8_t field, const std::array<model::ObjectType, N>& kinds) {
  if (random.rand(field) != 10) return;
  const auto kind = kinds[static_cast<size_t>(random.rand(static_cast<int64_t>(N) - 1))];
  if (catalogue::canSetObject(map, i)) catalogue::setObject(map, i, kind);
}

}  // namespace

void initObjects(Map& map, Random& random) {
  const int64_t size = map.size;
  const Grid<uint8_t> stones = generateWithBorder(random, size, 20);
  const Grid<uint8_t> trees = generateWithBorder(random, size, 20);
  const int64_t tiles = model::length(map);
  for (int64_t i = 0, column = 0; i < tiles; ++i, column = column + 1 == size ? 0 : column + 1) {
    const LandscapeType ground = map.landscape[static_cast<size_t>(i)];
    const uint8_t stone = value(stones, i);
    const uint8_t tree = value(trees, i);
    const bool stoneChance =
        stone > 35 && (ground == LandscapeType::GRASS || model::isDesert(ground));
    const bool treeChance = tree > 20 && ground == LandscapeType::GRASS;
    // The neighbours are only looked at where a draw may follow; the look
    // changes nothing, so skipping it elsewhere keeps every draw.
    if ((!stoneChance && !treeChance) || !freeAround(map, size, i, column)) continue;
    if (stoneChance) maybePlace(map, random, i, stone, model::STONE_TYPES);
    // Drawn even when a stone has just taken the tile; the tree is then refused.
    if (treeChance) maybePlace(map, random, i, tree, model::TREE_TYPES);
  }
}

}  // namespace varnholt::generate
