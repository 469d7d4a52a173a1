#include "generate/stages.h"
#include "generate/startgoods.h"
#include "geometry/circle.h"
#include "geometry/tiles.h"

namespace varnholt::generate {

using geometry::Circle;

using model::Map;

void initSettlers(Map& map, model::StartResourcesType startResources) {
  const std::vector<model::SettlerType> settlers = startSettlers(startResources);
  const int64_t size = map.size;
  for (const model::Building& building : map.buildings) {
    if (building.buildingType != model::BuildingType::TOWER) continue;
    size_t next = 0;
    // Settlers leave their tiles empty, so the scan can stop once all stand;
    // those that find no tile are left out.
    for (int64_t tile : Circle(size, size, supplyCentre(map, building), SUPPLY_RADIUS)) {
      if (next == settlers.size()) break;
      if (!model::isEmpty(map, tile)) continue;
      map.settlers.push_back({building.party, settlers[next++],
                              static_cast<uint16_t>(x(size, tile)),
                              static_cast<uint16_t>(y(size, tile))});
    }
  }
}

}  // namespace varnholt::generate
