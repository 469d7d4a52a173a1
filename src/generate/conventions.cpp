// applyGroundConventions: brings a finished map in line with the ground
// conventions inspect/conventions.h counts, so that each finding is zero.
#include <algorithm>
#include <vector>

#include "generate/stages.h"
#include "geometry/steps.h"
#include "model/groundrules.h"

namespace varnholt::generate {

using model::LandscapeType;
using model::Map;
using model::ResourceType;

namespace {

constexpr int64_t kClearance = model::STONE_CLEARANCE;
using model::isMineralGround;

// A MOUNTAIN tile beside any other ground than MOUNTAIN and MOUNTAINBORDER
// becomes MOUNTAINBORDER, as the outline passes do where mountain meets
// grass; neighbours are read as they were before, so one pass leaves no
// MOUNTAIN tile beside foreign ground.
void stepMountainBorders(Map& map) {
  const int64_t size = map.size;
  const std::vector<LandscapeType> before = map.landscape;
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (before[i] != LandscapeType::MOUNTAIN) continue;
      bool foreign = false;
      for (int64_t ny = std::max<int64_t>(0, y - 1); ny <= std::min(size - 1, y + 1); ++ny) {
        for (int64_t nx = std::max<int64_t>(0, x - 1); nx <= std::min(size - 1, x + 1); ++nx) {
          foreign = foreign || !isMineralGround(before[static_cast<size_t>(nx + size * ny)]);
        }
      }
      if (foreign) map.landscape[i] = LandscapeType::MOUNTAINBORDER;
    }
  }
}

// Every water tile gets the depth of its distance from land: WATER1 on the
// shore, one deeper per tile outwards, WATER8 from 8 tiles on.
void gradeWaterDepth(Map& map) {
  const std::vector<uint8_t> depths = geometry::gradedDepths(map);
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    if (model::isWater(map.landscape[i])) map.landscape[i] = model::WATER_TYPES[depths[i] - 1];
  }
}

// Puts every water tile at the lowest water height and keeps every other
// tile within SHORE_STEP per tile of its distance from water, so shores
// climb gently from the water and no neighbour pair ends up steeper than
// the larger of SHORE_STEP and its own difference before.
void levelWater(Map& map) {
  std::vector<uint8_t> water(map.landscape.size());
  int64_t level = 256;
  for (size_t i = 0; i < water.size(); ++i) {
    water[i] = model::isWater(map.landscape[i]);
    if (water[i] != 0) level = std::min<int64_t>(level, map.heights[i]);
  }
  if (level == 256) return;
  const std::vector<uint8_t> steps = geometry::stepsTo(map.size, water, 255);
  for (size_t i = 0; i < water.size(); ++i) {
    const int64_t reach = model::SHORE_STEP * steps[i];
    const int64_t low = std::max<int64_t>(0, level - reach);
    const int64_t high = std::min<int64_t>(255, level + reach);
    map.heights[i] = static_cast<uint8_t>(std::clamp<int64_t>(map.heights[i], low, high));
  }
}

// Minerals stay only under MOUNTAIN and MOUNTAINBORDER and fish only in
// water; elsewhere the tile is left without a resource.
void keepResourcesInPlace(Map& map) {
  for (size_t i = 0; i < map.resources.size(); ++i) {
    const LandscapeType kind = map.landscape[i];
    const bool fish = map.resources[i] == ResourceType::FISH;
    if (fish ? !model::isWater(kind) : !isMineralGround(kind)) {
      map.resources[i] = ResourceType::FISH;
      map.resourceAmounts[i] = 0;
    }
  }
}

// Sets mark to 1 on every tile within the clearance of (x, y).
void markAround(std::vector<uint8_t>& mark, int64_t size, int64_t x, int64_t y) {
  for (int64_t ny = std::max<int64_t>(0, y - kClearance); ny <= std::min(size - 1, y + kClearance);
       ++ny) {
    for (int64_t nx = std::max<int64_t>(0, x - kClearance);
         nx <= std::min(size - 1, x + kClearance); ++nx) {
      mark[static_cast<size_t>(nx + size * ny)] = 1;
    }
  }
}

void removeObject(Map& map, size_t i) {
  map.objects[i] = model::ObjectType::NO_OBJECT;
  map.accessible[i] = model::AccessibleType::EMPTY;
}

// True when every other stone within the clearance of (x, y) has a lower
// object code than the stone there: it is the larger stone of its group.
bool largestAround(const Map& map, int64_t x, int64_t y) {
  const int64_t size = map.size;
  const model::ObjectType stone = map.objects[static_cast<size_t>(x + size * y)];
  for (int64_t ny = std::max<int64_t>(0, y - kClearance); ny <= std::min(size - 1, y + kClearance);
       ++ny) {
    for (int64_t nx = std::max<int64_t>(0, x - kClearance);
         nx <= std::min(size - 1, x + kClearance); ++nx) {
      const model::ObjectType other = map.objects[static_cast<size_t>(nx + size * ny)];
      if ((nx != x || ny != y) && model::isStone(other) && other >= stone) return false;
    }
  }
  return true;
}

// Clears the room every stone needs. A stone stays only when no goods pile
// or settler stands within the clearance and every other stone there is
// smaller (a lower code); then every tree within the clearance of a stone
// that stays goes. Piles and settlers are start goods and always stay.
// Which objects go does not depend on the order of the tiles, so a mirrored
// or turned map stays mirrored or turned.
void clearAroundStones(Map& map) {
  const int64_t size = map.size;
  std::vector<uint8_t> nearEntity(map.objects.size(), 0);
  for (const model::Stack& stack : map.stacks) {
    if (stack.posX < size && stack.posY < size) markAround(nearEntity, size, stack.posX, stack.posY);
  }
  for (const model::Settler& settler : map.settlers) {
    if (settler.posX < size && settler.posY < size) {
      markAround(nearEntity, size, settler.posX, settler.posY);
    }
  }
  std::vector<size_t> removed;
  std::vector<uint8_t> nearKept(map.objects.size(), 0);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (!model::isStone(map.objects[i])) continue;
      if (nearEntity[i] == 0 && largestAround(map, x, y)) {
        markAround(nearKept, size, x, y);
      } else {
        removed.push_back(i);  // removed after the scan, which must see every stone
      }
    }
  }
  for (const size_t i : removed) removeObject(map, i);
  for (size_t i = 0; i < map.objects.size(); ++i) {
    if (model::isTree(map.objects[i]) && nearKept[i] != 0) removeObject(map, i);
  }
}

}  // namespace

void applyGroundConventions(Map& map) {
  stepMountainBorders(map);
  gradeWaterDepth(map);
  levelWater(map);
  keepResourcesInPlace(map);
  clearAroundStones(map);
}

}  // namespace varnholt::generate
