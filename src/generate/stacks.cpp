#include <string>

#include "generate/stages.h"
#include "generate/startgoods.h"
#include "geometry/circle.h"
#include "geometry/tiles.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

using geometry::Circle;

using model::Map;

namespace {

// Lays the piles on the empty tiles nearest to centre, one per tile, in list
// order. Returns false when the circle runs out first; an empty list never
// completes, since completion only follows a placed pile.
bool layPiles(Map& map, int64_t centre, std::span<const StartStack> goods) {
  if (goods.empty()) return false;
  const int64_t size = map.size;
  size_t next = 0;
  for (int64_t tile : Circle(size, size, centre, SUPPLY_RADIUS)) {
    if (!model::isEmpty(map, tile)) continue;
    map.stacks.push_back({goods[next].stackType, static_cast<uint16_t>(x(size, tile)),
                          static_cast<uint16_t>(y(size, tile)), goods[next].count});
    if (++next == goods.size()) return true;
  }
  return false;
}

}  // namespace

void initStacks(Map& map, model::StartResourcesType startResources, const Console& console) {
  const std::span<const StartStack> goods = startStacks(startResources);
  for (const model::Building& building : map.buildings) {
    console("init stacks for " + std::to_string(building.posX) + " " +
            std::to_string(building.posY) + "\n");
    if (building.buildingType != model::BuildingType::TOWER) continue;
    if (!layPiles(map, supplyCentre(map, building), goods)) {
      throw exception("Failed to setup stacks");
    }
    console("stack success\n");
  }
}

}  // namespace varnholt::generate
