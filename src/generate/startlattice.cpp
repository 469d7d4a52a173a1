#include "generate/startlattice.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "generate/symmetry.h"
#include "geometry/tiles.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

namespace {

struct Lattice {
  int64_t columns = 1;
  int64_t rows = 1;
  int64_t edge = START_EDGE_DISTANCE;
  int64_t spacing = 0;  // the nearest two cells' distance; 0 for a single cell
};

int64_t latticeSpacing(int64_t size, int64_t edge, int64_t columns, int64_t rows) {
  const int64_t side = size - 1 - 2 * edge;
  const int64_t steps = std::max(columns, rows) - 1;
  return steps == 0 ? 0 : side / steps;
}

// The fewest cells with the widest spacing for players, then the furthest
// edge distance that keeps the spacing required.
Lattice chooseLattice(int64_t size, int64_t players, int64_t leastSpacing) {
  Lattice best;
  best.spacing = -1;
  for (int64_t columns = 1; columns <= players; ++columns) {
    const int64_t rows = (players + columns - 1) / columns;
    const int64_t spacing = latticeSpacing(size, START_EDGE_DISTANCE, columns, rows);
    if (spacing > best.spacing ||
        (spacing == best.spacing && columns * rows < best.columns * best.rows)) {
      best = {columns, rows, START_EDGE_DISTANCE, spacing};
    }
    if (rows == 1) break;
  }
  const int64_t required = players > 1 ? fairStartSpacing(size, players, leastSpacing) : 0;
  if (size - 1 - 2 * START_EDGE_DISTANCE < 0 || best.spacing < required) {
    throw exception("Map too small for " + std::to_string(players) + " fair starts (starts need " +
                    std::to_string(required) + " tiles between them and " +
                    std::to_string(START_EDGE_DISTANCE) + " to every edge)");
  }
  while (best.edge < CLEAR_EDGE_DISTANCE &&
         latticeSpacing(size, best.edge + 1, best.columns, best.rows) >= required &&
         size - 1 - 2 * (best.edge + 1) >= 0) {
    ++best.edge;
  }
  best.spacing = latticeSpacing(size, best.edge, best.columns, best.rows);
  return best;
}

// Coordinate of lattice line j of count, the same from either end.
int64_t latticeLine(int64_t size, int64_t edge, int64_t j, int64_t count) {
  if (count == 1) return (size - 1) / 2;
  if (2 * j > count - 1) return size - 1 - latticeLine(size, edge, count - 1 - j, count);
  return edge + j * (size - 1 - 2 * edge) / (count - 1);
}

// The lattice cells kept for players: cells nearest the centre go first, a
// cell together with its point image, so the kept set is point symmetric
// whenever the number removed allows.
std::vector<Tile> latticeCells(const Lattice& lattice, int64_t players) {
  const int64_t c = lattice.columns;
  const int64_t r = lattice.rows;
  std::vector<Tile> cells;
  for (int64_t i = 0; i < r; ++i) {
    for (int64_t j = 0; j < c; ++j) cells.push_back({j, i});
  }
  auto centreDistance = [c, r](const Tile& t) {
    return (2 * t.x - (c - 1)) * (2 * t.x - (c - 1)) + (2 * t.y - (r - 1)) * (2 * t.y - (r - 1));
  };
  std::vector<Tile> order = cells;
  std::stable_sort(order.begin(), order.end(), [&](const Tile& a, const Tile& b) {
    return centreDistance(a) < centreDistance(b);
  });
  std::vector<bool> removed(cells.size(), false);
  int64_t toRemove = c * r - players;
  auto at = [c](const Tile& t) { return static_cast<size_t>(t.x + c * t.y); };
  for (const Tile& cell : order) {
    if (toRemove == 0) break;
    const Tile partner = {c - 1 - cell.x, r - 1 - cell.y};
    if (removed[at(cell)]) continue;
    const bool own = at(partner) == at(cell);
    if (!own && toRemove == 1) continue;
    removed[at(cell)] = true;
    removed[at(partner)] = true;
    toRemove -= own ? 1 : 2;
  }
  for (const Tile& cell : order) {
    if (toRemove == 0) break;
    if (!removed[at(cell)]) {
      removed[at(cell)] = true;
      --toRemove;
    }
  }
  std::vector<Tile> kept;
  for (const Tile& cell : cells) {
    if (!removed[at(cell)]) kept.push_back(cell);
  }
  return kept;
}

// Six starts spread wider than a lattice of six: one at a corner of the
// square edge in from the map's edges, one each on the two sides next to it,
// (sqrt 2 - 1) of the side from the corner, and their point images. All
// neighbours stand (2 - sqrt 2) of the side apart; the first three's images
// are the other three.
std::vector<Tile> sixStarts(int64_t size, int64_t edge) {
  const int64_t side = size - 1 - 2 * edge;
  const auto a =
      static_cast<int64_t>(std::lround((std::sqrt(2.0) - 1.0) * static_cast<double>(side)));
  const int64_t far = size - 1 - edge;
  return {{edge, edge + a}, {edge + a, edge}, {edge, far},
          {far, far - a},   {far - a, far},   {far, edge}};
}

// The truncated distance between the nearest two tiles.
int64_t nearestPair(const std::vector<Tile>& tiles) {
  int64_t nearest = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < tiles.size(); ++i) {
    for (size_t j = i + 1; j < tiles.size(); ++j) {
      nearest = std::min(nearest, distance(tiles[i].x, tiles[i].y, tiles[j].x, tiles[j].y));
    }
  }
  return nearest;
}

}  // namespace

int64_t fairStartSpacing(int64_t size, int64_t players, int64_t leastSpacing) {
  const double spread = 0.8 * static_cast<double>(size) / std::sqrt(static_cast<double>(players));
  return std::max<int64_t>(
      {2 * START_DOMAIN, leastSpacing, static_cast<int64_t>(std::ceil(spread))});
}

LatticeLayout latticeLayout(int64_t size, int64_t playerCount, StartSymmetry symmetry,
                            int64_t leastSpacing) {
  const int64_t order = symmetryOrder(symmetry);
  std::vector<Tile> firsts;
  int64_t jitter = 0;
  // Starts keep to the lattice's distance from the edges when moved.
  int64_t edge = START_EDGE_DISTANCE;
  if (symmetry == StartSymmetry::POINT_AND_DIAGONAL) {
    // One start at the middle of the left edge; its images stand at the
    // middles of the other three.
    const int64_t required = fairStartSpacing(size, playerCount, leastSpacing);
    const int64_t middle = (size - 1) / 2;
    const auto diagonal = [](int64_t edge, int64_t middle) {
      return static_cast<int64_t>(std::sqrt(2.0) * static_cast<double>(middle - edge));
    };
    if (middle < edge || diagonal(edge, middle) < required) {
      throw exception("Map too small for " + std::to_string(playerCount) +
                      " fair starts (starts need " + std::to_string(required) +
                      " tiles between them and " + std::to_string(START_EDGE_DISTANCE) +
                      " to every edge)");
    }
    while (edge < CLEAR_EDGE_DISTANCE && diagonal(edge + 1, middle) >= required) ++edge;
    firsts.push_back({edge, middle});
    jitter =
        std::min<int64_t>(diagonal(edge, middle) / 25, (diagonal(edge, middle) - required) / 3);
  } else {
    const Lattice lattice = chooseLattice(size, playerCount, leastSpacing);
    edge = lattice.edge;
    const int64_t required =
        playerCount > 1 ? fairStartSpacing(size, playerCount, leastSpacing) : 0;
    jitter = std::min<int64_t>(lattice.spacing / 25, (lattice.spacing - required) / 3);
    // Six starts keep further from the edges on the wider layout, if any.
    int64_t sixEdge = -1;
    for (int64_t e = lattice.edge + 1; playerCount == 6 && e <= CLEAR_EDGE_DISTANCE; ++e) {
      if (size - 1 - 2 * e >= 0 && nearestPair(sixStarts(size, e)) >= required) sixEdge = e;
    }
    if (sixEdge >= 0) {
      const std::vector<Tile> six = sixStarts(size, sixEdge);
      const int64_t spacing = nearestPair(six);
      edge = sixEdge;
      jitter = std::min<int64_t>(spacing / 25, (spacing - required) / 3);
      firsts.assign(six.begin(), six.begin() + (order > 1 ? 3 : 6));
    }
    for (const Tile& cell : latticeCells(lattice, playerCount)) {
      if (sixEdge >= 0) break;
      const Tile partner = {lattice.columns - 1 - cell.x, lattice.rows - 1 - cell.y};
      // Under the point reflection the later cell of each pair is an image.
      if (order > 1 && partner.x + lattice.columns * partner.y < cell.x + lattice.columns * cell.y)
        continue;
      firsts.push_back({latticeLine(size, lattice.edge, cell.x, lattice.columns),
                        latticeLine(size, lattice.edge, cell.y, lattice.rows)});
    }
  }
  return {firsts, edge, std::clamp<int64_t>(jitter, 0, MAX_START_JITTER)};
}

}  // namespace varnholt::generate
