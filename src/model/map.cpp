#include "varnholt/model/map.h"

#include <cstdlib>
#include <string>

#include "varnholt/model/error.h"

namespace varnholt::model {

namespace {

template <typename T>
Grid<T> snapshot(const Map& map, const std::vector<T>& layer) {
  Grid<T> grid;
  grid.w = map.size;
  grid.h = map.size;
  grid.data = layer;
  return grid;
}

}  // namespace

int64_t length(const Map& map) { return static_cast<int64_t>(map.heights.size()); }

Grid<LandscapeType> landscapeGrid(const Map& map) { return snapshot(map, map.landscape); }
Grid<ObjectType> objectsGrid(const Map& map) { return snapshot(map, map.objects); }
Grid<uint8_t> partyGrid(const Map& map) { return snapshot(map, map.party); }

bool isStack(const Map& map, int64_t index) {
  if (map.stacks.empty()) return false;
  const int64_t size = map.size;
  if (size == 0) throw exception("Division by zero in tile column");
  const int64_t posX = index % size;
  const int64_t posY = index / size;
  for (const Stack& stack : map.stacks) {
    if (stack.posX == posX && stack.posY == posY) return true;
  }
  return false;
}

bool isEmpty(const Map& map, int64_t index) {
  if (index < 0 || index >= static_cast<int64_t>(map.objects.size()) ||
      index >= static_cast<int64_t>(map.accessible.size())) {
    throw exception("Tile " + std::to_string(index) + " is outside the map");
  }
  const auto i = static_cast<size_t>(index);
  return map.objects[i] == ObjectType::NO_OBJECT && !isBlocked(map.accessible[i]) &&
         !isStack(map, index);
}

void(assert)(const Map& map) {
  const uint32_t size = map.size;
  for (uint32_t y = 1; y + 1 < size; ++y) {
    for (uint32_t x = 1; x + 1 < size; ++x) {
      const int h = map.heights[x + size * y];
      const int neighbour = map.heights[x - 1 + size * (y - 1)];
      if (std::abs(h - neighbour) > 7 && (h & 8) != 0) {
        throw exception("Illegal slope at " + std::to_string(x) + "x" + std::to_string(y));
      }
    }
  }
}

}  // namespace varnholt::model
