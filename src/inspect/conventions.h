#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "model/map.h"

// The ground conventions hand-made maps keep, and a count of every place a
// map breaks them. A map that keeps them all has zero of each finding.
// Neighbours are the 8 tiles around a tile; a pair of neighbours counts once.
namespace varnholt::inspect {

// The largest height difference between a water tile and any neighbour:
// water lies level and its shores climb at most this much per tile.
inline constexpr int64_t SHORE_STEP = 3;

// A stone needs its own tile and the 8 around it; nothing else may stand on
// those or next to them, so nothing within this many tiles of it in x and y.
inline constexpr int64_t STONE_CLEARANCE = 2;

struct Conventions {
  // The height most water tiles have (the lowest of equally common ones);
  // -1 on a map without water.
  int64_t waterLevel = -1;

  // Tiles with coal, iron, gold, gems or sulfur (amount above 0) under ground
  // other than MOUNTAIN and MOUNTAINBORDER.
  int64_t mineralsOffMountain = 0;
  // Tiles with fish (amount above 0) under ground that is not water.
  int64_t fishOnLand = 0;
  // Water tiles not at the water level.
  int64_t waterOffLevel = 0;
  // Neighbour pairs, at least one of them water, whose heights differ by
  // more than SHORE_STEP.
  int64_t steepShorePairs = 0;
  // Neighbour pairs of water tiles whose depths (WATER1 = 1 ... WATER8 = 8)
  // differ by more than one.
  int64_t waterDepthSteps = 0;
  // Of those, the pairs of WATER8 beside WATER1.
  int64_t deepBesideShallow = 0;
  // Water tiles beside land that are not WATER1.
  int64_t deepShores = 0;
  // Water tiles whose depth is not their distance from land (tiles in x or y
  // to the nearest land tile, at most 8): the grading from the shore outwards.
  int64_t ungradedWater = 0;
  // MOUNTAIN tiles beside ground other than MOUNTAIN and MOUNTAINBORDER (for
  // example SNOWBORDER): the mountain border was skipped.
  int64_t skippedMountainBorders = 0;
  // Trees, other stones, goods piles and settlers within STONE_CLEARANCE of
  // a stone (piles and settlers on the stone's own tile included).
  int64_t treesNearStones = 0;
  int64_t stonesNearStones = 0;
  int64_t pilesNearStones = 0;
  int64_t settlersNearStones = 0;
  // Towers (TOWER, TOWER_BIG, CASTLE, with the roman footprint of their
  // kind) with a footprint cell on river, MOORBORDER, desert or sand ground.
  int64_t towersOnSoftGround = 0;
};

// Counts the findings. Safe on any map read from a file: entities and
// footprint cells outside the map are not counted.
Conventions conventions(const model::Map& map);

// Every finding with its report name, in report order (the water level is
// not a finding and is left out).
std::vector<std::pair<std::string_view, int64_t>> findings(const Conventions& c);

// For every tile of a size x size map, the tiles in x or y to the nearest
// tile marked nonzero in sources, at most cap (also where none is marked).
std::vector<uint8_t> stepsTo(uint32_t size, const std::vector<uint8_t>& sources, uint8_t cap);

// The depth (1 to 8) every tile's water should have: its steps to the
// nearest land tile, at most 8; 8 throughout a map without land.
std::vector<uint8_t> gradedDepths(const model::Map& map);

}  // namespace varnholt::inspect
