#include "inspect/conventions.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "catalogue/footprints.h"
#include "geometry/steps.h"
#include "model/groundrules.h"

namespace varnholt::inspect {

namespace {

using model::LandscapeType;
using model::Map;
using model::ResourceType;
using geometry::gradedDepths;
using model::isMineralGround;
using model::SHORE_STEP;
using model::STONE_CLEARANCE;

struct Step {
  int64_t dx;
  int64_t dy;
};

// Half of the 8 neighbour directions: visiting these from every tile meets
// each neighbour pair once.
constexpr std::array<Step, 4> kForward = {{{1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

// Depth of a water kind: WATER1 is 1, WATER8 is 8.
int depth(LandscapeType kind) { return static_cast<int>(kind) + 1; }

bool isMineral(ResourceType type) {
  return type == ResourceType::COAL || type == ResourceType::IRONORE ||
         type == ResourceType::GOLDORE || type == ResourceType::GEMS ||
         type == ResourceType::SULFUR;
}

bool isSoftGround(LandscapeType kind) {
  return model::isRiver(kind) ||
         kind == LandscapeType::MOORBORDER || model::isDesert(kind) || kind == LandscapeType::SAND;
}

// Calls visit(a, b) for every neighbour pair of tiles on the map.
template <typename Visit>
void forEachPair(const Map& map, Visit visit) {
  const int64_t size = map.size;
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      for (const Step& step : kForward) {
        const int64_t nx = x + step.dx;
        const int64_t ny = y + step.dy;
        if (nx < 0 || nx >= size || ny >= size) continue;
        visit(static_cast<size_t>(x + size * y), static_cast<size_t>(nx + size * ny));
      }
    }
  }
}

int64_t mostCommonWaterHeight(const Map& map) {
  std::array<int64_t, 256> count{};
  bool any = false;
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    if (!model::isWater(map.landscape[i])) continue;
    ++count[map.heights[i]];
    any = true;
  }
  if (!any) return -1;
  return std::max_element(count.begin(), count.end()) - count.begin();
}

void countGround(const Map& map, Conventions& c) {
  c.waterLevel = mostCommonWaterHeight(map);
  const std::vector<uint8_t> graded = gradedDepths(map);
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    const LandscapeType kind = map.landscape[i];
    if (map.resourceAmounts[i] > 0) {
      c.mineralsOffMountain += isMineral(map.resources[i]) && !isMineralGround(kind);
      c.fishOnLand += map.resources[i] == ResourceType::FISH && !model::isWater(kind);
    }
    if (model::isWater(kind)) {
      c.waterOffLevel += map.heights[i] != c.waterLevel;
      c.ungradedWater += depth(kind) != graded[i];
    }
  }
  std::vector<uint8_t> besideLand(map.landscape.size(), 0);
  std::vector<uint8_t> besideForeign(map.landscape.size(), 0);
  forEachPair(map, [&](size_t a, size_t b) {
    const LandscapeType ka = map.landscape[a];
    const LandscapeType kb = map.landscape[b];
    const bool wa = model::isWater(ka);
    const bool wb = model::isWater(kb);
    if ((wa || wb) && std::abs(map.heights[a] - map.heights[b]) > SHORE_STEP) ++c.steepShorePairs;
    if (wa && wb) {
      c.waterDepthSteps += std::abs(depth(ka) - depth(kb)) > 1;
      c.deepBesideShallow += (ka == LandscapeType::WATER8 && kb == LandscapeType::WATER1) ||
                             (ka == LandscapeType::WATER1 && kb == LandscapeType::WATER8);
    }
    if (wa != wb) besideLand[wa ? a : b] = 1;
    if (ka == LandscapeType::MOUNTAIN && !isMineralGround(kb)) besideForeign[a] = 1;
    if (kb == LandscapeType::MOUNTAIN && !isMineralGround(ka)) besideForeign[b] = 1;
  });
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    c.deepShores += besideLand[i] && map.landscape[i] != LandscapeType::WATER1;
    c.skippedMountainBorders += besideForeign[i];
  }
}

// For every tile, how many stones stand within STONE_CLEARANCE of it, at most 255.
std::vector<uint8_t> stonesAround(const Map& map) {
  const int64_t size = map.size;
  std::vector<uint8_t> around(map.objects.size(), 0);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      if (!model::isStone(map.objects[static_cast<size_t>(x + size * y)])) continue;
      for (int64_t ny = std::max<int64_t>(0, y - STONE_CLEARANCE);
           ny <= std::min(size - 1, y + STONE_CLEARANCE); ++ny) {
        for (int64_t nx = std::max<int64_t>(0, x - STONE_CLEARANCE);
             nx <= std::min(size - 1, x + STONE_CLEARANCE); ++nx) {
          uint8_t& count = around[static_cast<size_t>(nx + size * ny)];
          if (count < 255) ++count;
        }
      }
    }
  }
  return around;
}

void countNearStones(const Map& map, Conventions& c) {
  const std::vector<uint8_t> around = stonesAround(map);
  for (size_t i = 0; i < map.objects.size(); ++i) {
    c.treesNearStones += model::isTree(map.objects[i]) && around[i] > 0;
    c.stonesNearStones += model::isStone(map.objects[i]) && around[i] > 1;  // itself is one
  }
  auto near = [&](uint32_t x, uint32_t y) {
    return x < map.size && y < map.size && around[x + size_t{map.size} * y] > 0;
  };
  for (const model::Stack& stack : map.stacks) c.pilesNearStones += near(stack.posX, stack.posY);
  for (const model::Settler& settler : map.settlers) {
    c.settlersNearStones += near(settler.posX, settler.posY);
  }
}

const char* towerFootprintKey(model::BuildingType type) {
  switch (type) {
    case model::BuildingType::TOWER: return "meta/buildings/roman/tower.xml";
    case model::BuildingType::TOWER_BIG: return "meta/buildings/roman/big_tower.xml";
    case model::BuildingType::CASTLE: return "meta/buildings/roman/castle.xml";
    default: return nullptr;
  }
}

void countTowers(const Map& map, Conventions& c) {
  const int64_t size = map.size;
  for (const model::Building& building : map.buildings) {
    const char* key = towerFootprintKey(building.buildingType);
    if (key == nullptr) continue;
    bool soft = false;
    for (const model::BuildingMetaBlock& cell : catalogue::buildingMeta(key).blocks) {
      const int64_t x = building.posX + cell.xOffset;
      const int64_t y = building.posY + cell.yOffset;
      if (x < 0 || y < 0 || x >= size || y >= size) continue;
      soft = soft || isSoftGround(map.landscape[static_cast<size_t>(x + size * y)]);
    }
    c.towersOnSoftGround += soft;
  }
}

}  // namespace

Conventions conventions(const Map& map) {
  Conventions c;
  countGround(map, c);
  countNearStones(map, c);
  countTowers(map, c);
  return c;
}

std::vector<std::pair<std::string_view, int64_t>> findings(const Conventions& c) {
  return {{"mineralsOffMountain", c.mineralsOffMountain},
          {"fishOnLand", c.fishOnLand},
          {"waterOffLevel", c.waterOffLevel},
          {"steepShorePairs", c.steepShorePairs},
          {"waterDepthSteps", c.waterDepthSteps},
          {"deepBesideShallow", c.deepBesideShallow},
          {"deepShores", c.deepShores},
          {"ungradedWater", c.ungradedWater},
          {"skippedMountainBorders", c.skippedMountainBorders},
          {"treesNearStones", c.treesNearStones},
          {"stonesNearStones", c.stonesNearStones},
          {"pilesNearStones", c.pilesNearStones},
          {"settlersNearStones", c.settlersNearStones},
          {"towersOnSoftGround", c.towersOnSoftGround}};
}

}  // namespace varnholt::inspect
