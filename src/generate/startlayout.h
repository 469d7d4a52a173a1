#pragma once

#include <cstdint>
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
  int64_t edge = START_EDGE_DISTANCE;  // the least distance to every edge
  int64_t clearEdge = START_EDGE_DISTANCE;  // the distance aimed for where there is room
  int64_t mateSpacing = 0;   // the least distance between any two starts
  int64_t rivalSpacing = 0;  // the least distance between starts of different teams
  // The largest ratio between the longest and the shortest of the starts'
  // distances to their nearest rival.
  double frontSpread = 1.0;
  // The team of every start; starts of one team are mates, all others rivals.
  // With teams, every start's nearest other start is a mate.
  std::vector<int32_t> team;
  StartSymmetry symmetry = StartSymmetry::NONE;
};

// True when tiles keep every rule of rules (distances truncated as the
// fairness table measures them).
bool keepsRules(const std::vector<Tile>& tiles, const LayoutRules& rules);

// The images of firsts under every element of rules.symmetry, element by
// element (the firsts themselves first).
std::vector<Tile> withImages(const std::vector<Tile>& firsts, const LayoutRules& rules);

// Searches attempts random layouts, each spread from random places by
// pushing starts apart, mates together and fronts level; returns the first
// ones of the first layout that keeps the rules after settle moved each of
// them (settle returns the tile a start finally takes), nothing when none
// does. Draws.
template <typename Settle>
std::optional<std::vector<Tile>> searchLayout(const LayoutRules& rules, Random& random,
                                              int64_t attempts, Settle settle);

// One layout from random places: the first starts' tiles before settling.
std::vector<Tile> spreadLayout(const LayoutRules& rules, Random& random, int64_t edge);

template <typename Settle>
std::optional<std::vector<Tile>> searchLayout(const LayoutRules& rules, Random& random,
                                              int64_t attempts, Settle settle) {
  for (int64_t attempt = 0; attempt < attempts; ++attempt) {
    // Early attempts keep clear of the edges, later ones may use the room
    // down to the least edge distance.
    const int64_t edge =
        rules.clearEdge - (rules.clearEdge - rules.edge) * attempt / std::max<int64_t>(1, attempts - 1);
    const std::vector<Tile> firsts = spreadLayout(rules, random, edge);
    if (!keepsRules(withImages(firsts, rules), rules)) continue;
    std::vector<Tile> settled;
    for (const Tile& tile : firsts) settled.push_back(settle(tile, edge));
    if (keepsRules(withImages(settled, rules), rules)) return settled;
    return firsts;
  }
  return std::nullopt;
}

}  // namespace varnholt::generate
