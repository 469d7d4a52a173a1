#pragma once

#include <cstdint>
#include <vector>

#include "model/groundrules.h"
#include "varnholt/inspect.h"
#include "varnholt/model/map.h"

// How evenly a map treats its players: what lies around each start spot.
// The table itself is declared in varnholt/inspect.h; these are the rules
// it counts by.
namespace varnholt::inspect {

// The area counted around a spot: tiles at truncated distance below this,
// the start area a tower claims.
inline constexpr int64_t FAIRNESS_RADIUS = model::START_AREA_RADIUS;

// The buildings whose footprints stand for the three spot sizes.
inline constexpr const char* SMALL_SPOT_KEY = "meta/buildings/roman/small_livinghouse.xml";
inline constexpr const char* MEDIUM_SPOT_KEY = "meta/buildings/roman/medium_livinghouse.xml";
inline constexpr const char* LARGE_SPOT_KEY = "meta/buildings/roman/big_livinghouse.xml";

// How near a stone or tree must be for a stonecutter or woodcutter spot.
inline constexpr int64_t SUPPLY_REACH = 10;

struct TileOffset {
  int64_t dx;
  int64_t dy;
};

// The offsets of the tiles at truncated distance below FAIRNESS_RADIUS from
// a centre, row by row; computed once.
const std::vector<TileOffset>& radiusOffsets();

// True for ground a tower or house may stand on: anything but water, river,
// mountain, snow and moor.
bool isBuildableGround(model::LandscapeType type);

// The towers (TOWER, TOWER_BIG, CASTLE) inside the map, in building order, or
// when there is none the player start spots inside the map, party = player
// number.
std::vector<StartSpot> startSpots(const model::Map& map);

// The tiles (1) within FAIRNESS_RADIUS rows and columns of the spots where
// a building of the footprint key could stand by the spot rule above; goods
// piles count as taken. 0 elsewhere.
std::vector<int32_t> buildingSpots(const model::Map& map, const char* key,
                                   const std::vector<StartSpot>& spots);

}  // namespace varnholt::inspect
