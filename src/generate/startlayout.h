#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "generate/compass.h"
#include "generate/fairstages.h"
#include "generate/random.h"

// A seeded search for the tower tiles of fair starts: positions and the turn
// of the whole layout change from seed to seed while the distance and edge
// rules hold.
namespace varnholt::generate {

// What a start layout must keep. Starts are numbered as the map's players:
// under a symmetry, the first count / order starts, then their images under
// each element in turn (symmetry.h).
struct LayoutRules {
  int64_t size = 0;
  int64_t edge = START_EDGE_DISTANCE;       // the least distance to every edge
  int64_t clearEdge = START_EDGE_DISTANCE;  // the distance aimed for where there is room
  int64_t mateSpacing = 0;                  // the least distance between any two starts
  int64_t rivalSpacing = 0;                 // the least distance between starts of different teams
  // The largest ratio between the longest and the shortest of the starts'
  // distances to their nearest rival.
  double frontSpread = 1.0;
  // The team of every start; starts of one team are mates, all others rivals.
  // With teams, every start's nearest other start is a mate, and each team's
  // starts hang together: linked through pairs of mates no further apart
  // than one of the two stands from its nearest rival, so no team is split
  // by another.
  std::vector<int32_t> team;
  StartSymmetry symmetry = StartSymmetry::NONE;
};

// True when tiles keep every rule of rules (distances truncated as the
// fairness table measures them).
bool keepsRules(const std::vector<Tile>& tiles, const LayoutRules& rules);

// The images of firsts under every element of rules.symmetry, element by
// element (the firsts themselves first).
std::vector<Tile> withImages(const std::vector<Tile>& firsts, const LayoutRules& rules);

// Where a start finally stands, given the tile the search chose and the
// edge distance it kept to.
using Settle = std::function<Tile(const Tile& tile, int64_t edge)>;

// Tries up to attempts random layouts (spreadLayout), the early ones kept
// rules.clearEdge from the edges and later ones down to rules.edge; returns
// the first starts of the first layout that keeps the rules, each moved by
// settle where the moved layout still keeps them, and nothing when no
// layout does. Draws.
std::optional<std::vector<Tile>> searchLayout(const LayoutRules& rules, Random& random,
                                              int64_t attempts, const Settle& settle);

// One layout from random places, spread by pushing starts apart, mates
// together and fronts level, within edge of the map's edges: the first
// starts' tiles. Draws.
std::vector<Tile> spreadLayout(const LayoutRules& rules, Random& random, int64_t edge);

}  // namespace varnholt::generate
