#pragma once

// How natural the surroundings of the start spots look: whether they are
// turned or mirrored copies of one another, whether their ground rolls like
// the rest of the land, whether their trees stand in a grid, and whether
// each has the same room for the largest buildings. The start spots are the
// fairness table's rows (towers, or player start spots on a map without
// towers), "near" is within the table's radius of one. Safe to call from
// several threads at once.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "varnholt/model/map.h"

namespace varnholt::inspect {

// Two start spots compared as sets of (offset from the spot, class) pairs,
// the classes being mountain ground, water, tree and stone: shared pairs /
// pairs of either. 1 for exact copies, 0 for nothing in common or nothing to
// compare.
struct BestPair {
  double overlap = 0;  // the largest over all pairs; 0 with fewer than two spots
  size_t first = 0;    // the pair it belongs to, indices into the fairness rows
  size_t second = 0;
};

struct CopyOverlap {
  // The second spot's set under each of the 8 turns and mirrors of the
  // square grid, the best of them.
  BestPair turns;
  // The same after a turn by 45 degrees, offsets rounded to the nearest
  // tile: layouts turned by an eighth, which the grid's own turns miss.
  BestPair diagonalTurns;
};

// Mean absolute height step between a land tile and its right and lower
// neighbours where both are land (not water). A pair is near when its left
// or upper tile is near a start spot.
struct Roughness {
  int64_t nearPairs = 0, elsewherePairs = 0;
  double near = 0, elsewhere = 0;  // 0 without pairs
  std::optional<double> ratio;     // near / elsewhere; none when elsewhere is 0
};

// The trees near the start spots and the offset to each one's nearest other
// tree (anywhere on the map within the radius; the nearest by Euclidean
// distance, ties to the smaller dy, then the smaller dx).
struct TreeGrid {
  int64_t trees = 0;
  int64_t dx = 0, dy = 0;        // the most common offset, the smaller (dy, dx) on a tie
  int64_t atCommonOffset = 0;    // trees whose nearest tree is there
  double share = 0;              // atCommonOffset / trees; 0 without trees
};

// Spots for the Roman farm's footprint (the largest farm) near each start
// spot, by the rule of the fairness table's building spots.
struct LargeSpots {
  std::vector<int64_t> perStart;  // in the fairness rows' order
  int64_t min = 0, max = 0;       // 0 without start spots
};

struct Look {
  CopyOverlap copyOverlap;
  Roughness roughness;
  TreeGrid treeGrid;
  LargeSpots largeSpots;
};

// Measures the map. Safe on any map read from a file; the work grows with
// the pairs of start spots.
Look measureLook(const model::Map& map);

}  // namespace varnholt::inspect
