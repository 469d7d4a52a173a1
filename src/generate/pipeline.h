#pragma once

#include <cstdint>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "model/console.h"
#include "model/map.h"
#include "model/mapstyle.h"
#include "model/startresourcetype.h"

// The classic generation pipeline: a map created from one seeded random
// source, then every stage of stages.h in its fixed order.
namespace varnholt::generate {

// Creates the map (header codes, heights from generateWithBorder(size, 20),
// every other layer zero) and generates it completely through init.
model::Map initMap(Random& random, int64_t playerCount, uint32_t size,
                   model::StartResourcesType startResources, const Console& console);

// The first half of initMap: header codes, heights, the other six layers all
// zero, no entities and no stage run yet. Draws the height field.
model::Map createMap(Random& random, int64_t playerCount, uint32_t size);

// Sets every party to 255, runs the nine stages in their fixed order and
// prints the goods pile dump. Returns the same map.
model::Map& init(model::Map& map, Random& random, int64_t playerCount, uint32_t size,
                 model::StartResourcesType startResources, const Console& console);

// A fair map: createMap, then the classic stages with the fair stages of
// fairstages.h between them, the style's landscape (landscapes.h) drawn
// before the ground and its climate and amounts (climate.h, amounts.h), for
// starts related by symmetry (NONE for --fair), and last
// applyGroundConventions. Throws validateStyle's and the landscape's
// ValueError for a style that cannot be made, the planning stage's
// Exception when the map is too small for its players or, under a symmetry,
// the player count is odd, and the landscape's when the start areas leave
// no room for the shares asked for.
model::Map initFairMap(Random& random, int64_t playerCount, uint32_t size,
                       model::StartResourcesType startResources, StartSymmetry symmetry,
                       const model::MapStyle& style, const Console& console);

}  // namespace varnholt::generate
