#pragma once

// The shape of a map as a whole: how much is water, what ground the land is
// made of, how it falls apart into land masses and lakes, what it holds, and
// whether the players can walk to each other. Reads only the Map, so it
// works on generated maps and maps read back from any file alike; safe to
// call from several threads at once.
//
// Connections are between the 8 neighbours of a tile, for land and water
// alike. That errs towards joining: two land masses that touch only at a
// corner count as one, and so does a lake that touches the sea only at a
// corner with the sea.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "varnholt/model/map.h"

namespace varnholt::inspect {

struct LandMass {
  int64_t tiles = 0;
  // The start spots standing on it: indices into the fairness table's rows
  // (towers, or player start spots on a map without towers).
  std::vector<size_t> starts;
};

struct Landscape {
  int64_t tiles = 0, waterTiles = 0, landTiles = 0;
  double waterShare = 0;  // waterTiles / tiles (water = WATER1..8; rivers count as land)
  // Land tiles by ground class: grass (GRASS), desert (desert kinds and
  // SAND), swamp (moor and mud kinds), mountain (MOUNTAIN, MOUNTAINBORDER,
  // MOUNTAINBORDEROUTER), snow (snow kinds), river (RIVER1..4), other (codes
  // outside the vocabulary).
  int64_t grass = 0, desert = 0, swamp = 0, mountain = 0, snow = 0, river = 0, other = 0;
  std::vector<LandMass> landMasses;  // connected land components, largest first
  double largestMassShare = 0;       // largest mass / landTiles; 0 without land
  // Water components with no tile on the map's edge; their tiles as a share
  // of all tiles.
  int64_t inlandLakes = 0, inlandLakeTiles = 0;
  double inlandLakeShare = 0;
  // Resource amount totals over the whole map.
  int64_t coal = 0, iron = 0, gold = 0, gems = 0, sulfur = 0, fish = 0;
  int64_t trees = 0, stones = 0;
  // True when every start spot can reach every other over land that is not
  // water, MOORINNER, MUDINNER or SNOWINNER; true with fewer than two spots.
  bool startsReachableOnFoot = false;
  // Per start spot: its on-foot component, numbered 0, 1, ... in the order
  // the spots first reach them. A spot on ground nobody walks on has a number
  // of its own.
  std::vector<size_t> walkGroupOfStart;
};

// share of the land, 0 on a map without land.
double landShare(const Landscape& landscape, int64_t tiles);

// Measures the whole map in a few passes over flat arrays. Safe on any map
// read from a file: only start spots inside the map count.
Landscape measureLandscape(const model::Map& map);

}  // namespace varnholt::inspect
