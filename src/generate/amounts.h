#pragma once

#include <cstdint>
#include <vector>

#include "generate/fairstages.h"
#include "generate/random.h"
#include "varnholt/model/map.h"
#include "varnholt/model/mapstyle.h"

// Resource amounts of fair and symmetric maps: low, normal or high amounts
// of minerals (coal, iron, gold, gems, sulfur), fish, trees and stones, on
// the whole map and in every start area alike. High gives at least 1.6
// times and low at most 0.6 times what normal gives, counted over the whole
// map and within each start area.
namespace varnholt::generate {

// What every start area is planted with: low 60 trees and 15 stones,
// normal 100 and 25, high 160 and 40; woods mostly of palms on desert maps.
StartObjects startObjects(const model::MapStyle& style);

// The amount every mineral tile of a start area starts from, by its place
// in the mineral pattern, and the fish of every water tile there; the
// balancing raises the poorer starts' tiles from these up to the richest.
// Normal averages 8 per mineral tile and 4 fish, low at most half of that,
// high at least 1.65 times it, and a tile keeps room to be raised.
uint8_t startMineralAmount(model::ResourceAmount amount, size_t place);
uint8_t startFishAmount(model::ResourceAmount amount, size_t place);

// After initObjects and initResources, before plantStartObjects (no draws;
// the tiles it picks follow a hash of their index salted with the random
// source's state, which it leaves as it is). Normal: nothing. Low halves
// every mineral and fish amount (rounding down) and keeps two in five of
// the trees and of the stones, in every part of the map. High adds 8 to every mineral amount and 5 to every
// fish amount (up to 15 and 8, the most the stages lay), and beyond
// START_LEVEL_RADIUS of every start plants as many trees and stones again as
// stand there, by the free-ground rules of the object scatter and beside
// the ones there (within 3, 6, 12, then 48 tiles for trees, 6, 12, 24, then
// 48 for stones), the woods and rock fields growing where they are.
void scaleMapAmounts(model::Map& map, const Random& random, const std::vector<FairStart>& starts,
                     model::ResourceAmount amount);

}  // namespace varnholt::generate
