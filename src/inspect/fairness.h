#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/map.h"

// How evenly a map treats its players: what lies around each start spot.
namespace varnholt::inspect {

// The area counted around a spot: tiles at truncated distance below this.
inline constexpr int64_t FAIRNESS_RADIUS = 40;

// The counted values of one spot, in table order.
enum class Column : uint8_t {
  CLAIMED,    // tiles of the spot's party anywhere on the map
  BUILDABLE,  // free tiles within the radius on ground a tower or house may stand on
  TREES,
  STONES,
  MOUNTAIN,  // mountain ground tiles within the radius
  COAL,      // resource amounts within the radius
  IRON,
  GOLD,
  GEMS,
  SULFUR,
  WATER,     // water tiles within the radius
  FISH,      // fish amount within the radius
  PILES,     // goods piles within the radius
  GOODS,     // goods in those piles
  SETTLERS,  // settlers of the spot's party anywhere on the map
  // Building spots within the radius: tiles where the footprint of
  // SMALL_SPOT_KEY, MEDIUM_SPOT_KEY or LARGE_SPOT_KEY fits with every cell on
  // the map, plain GRASS, empty and not blocked.
  SMALL,
  MEDIUM,
  LARGE,
  STONECUTTER,  // small spots with a stone at distance below SUPPLY_REACH
  WOODCUTTER,   // small spots with a tree at distance below SUPPLY_REACH
  RIVAL,        // truncated distance to the nearest other spot, 0 when alone
};

inline constexpr size_t COLUMN_COUNT = 21;
inline constexpr std::array<std::string_view, COLUMN_COUNT> COLUMN_NAMES = {
    "claimed", "buildable", "trees", "stones",   "mountain", "coal",        "iron",
    "gold",    "gems",      "sulfur", "water",   "fish",     "piles",       "goods",
    "settlers", "small",    "medium", "large",   "stonecutter", "woodcutter", "rival"};

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

// A place a party starts from.
struct StartSpot {
  uint8_t party = 0;
  uint32_t x = 0;
  uint32_t y = 0;
};

struct FairnessRow {
  StartSpot spot;
  // The team the party's player name says ("... Team <n>"), 0 when none.
  int32_t team = 0;
  std::array<int64_t, COLUMN_COUNT> values{};

  int64_t operator[](Column column) const { return values[static_cast<size_t>(column)]; }
};

struct Spread {
  int64_t min = 0;
  int64_t max = 0;
};

struct Fairness {
  bool fromTowers = false;  // false: the map has no tower, the rows are the player start spots
  std::vector<FairnessRow> rows;
  std::array<Spread, COLUMN_COUNT> spread{};  // over the rows; all zero without rows
};

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

// One row per start spot. Safe on any map read from a file: entities outside
// the map are not counted.
Fairness fairness(const model::Map& map);

}  // namespace varnholt::inspect
