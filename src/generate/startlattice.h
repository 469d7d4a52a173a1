#pragma once

#include <cstdint>
#include <vector>

#include "generate/compass.h"
#include "generate/fairstages.h"

// The fixed lattice of fair starts: the layout a map falls back to when no
// searched layout (startlayout.h) keeps the rules, and the test of whether a
// map has room for its starts at all.
namespace varnholt::generate {

// Starts lie further in than START_EDGE_DISTANCE where there is room, up to
// this distance, which keeps the start area clear of the water frame and the
// rise of the land behind it.
inline constexpr int64_t CLEAR_EDGE_DISTANCE = 68;
// The most a start moves from its place in a layout towards the most land.
inline constexpr int64_t MAX_START_JITTER = 12;

// The least distance between neighbouring starts of different players:
// max(2 * START_DOMAIN, leastSpacing, 0.8 * size / sqrt(players)), rounded up.
int64_t fairStartSpacing(int64_t size, int64_t players, int64_t leastSpacing);

// A lattice layout: the first starts (under a symmetry the ones whose images
// are the rest) before they move, the edge distance they keep and how far
// each may move without breaking the spacing.
struct LatticeLayout {
  std::vector<Tile> firsts;
  int64_t edge = START_EDGE_DISTANCE;
  int64_t jitter = 0;
};

// Starts on the fewest lattice cells with the widest spacing over a square at
// least START_EDGE_DISTANCE and at most CLEAR_EDGE_DISTANCE in from the
// edges (six on a wider octagon, four under both mirrors at the middles of
// the sides), neighbours at least fairStartSpacing apart. Throws Exception
// "Map too small for <n> fair starts (...)" when the lattice cannot keep
// the distances.
LatticeLayout latticeLayout(int64_t size, int64_t playerCount, StartSymmetry symmetry,
                            int64_t leastSpacing);

}  // namespace varnholt::generate
