#pragma once

#include <cstdint>

#include "model/map.h"
#include "model/startresourcetype.h"

namespace varnholt::app {

// Creates the map (header codes, heights from generateWithBorder(size, 20),
// every other layer zero) and generates it completely through init.
model::Map initMap(int64_t playerCount, uint32_t size, model::StartResourcesType startResources);

// The first half of initMap: header codes, heights, the other six layers all
// zero, no entities and no stage run yet. Draws the height field.
model::Map createMap(int64_t playerCount, uint32_t size);

// Sets every party to 255, runs the nine stages in their fixed order and
// prints the goods pile dump. Returns the same map.
model::Map& init(model::Map& map, int64_t playerCount, uint32_t size,
                 model::StartResourcesType startResources);

}  // namespace varnholt::app
