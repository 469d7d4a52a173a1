#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "varnholt/model/map.h"

// The ground conventions hand-made maps keep, and a count of every place a
// map breaks them. A map that keeps them all has zero of each finding.
// Neighbours are the 8 tiles around a tile; a pair of neighbours counts once.
namespace varnholt::inspect {

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
  // more than model::SHORE_STEP.
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
  // Trees, other stones, goods piles and settlers within model::STONE_CLEARANCE of
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

}  // namespace varnholt::inspect
