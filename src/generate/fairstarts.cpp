#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "catalogue/mapedit.h"
#include "generate/compass.h"
#include "generate/fairstages.h"
#include "generate/startgoods.h"
#include "generate/symmetry.h"
#include "geometry/circle.h"
#include "geometry/summedarea.h"
#include "geometry/tiles.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

using geometry::SummedArea;
using geometry::circleHalfWidth;

using model::Map;

namespace {

// Starts lie further in than START_EDGE_DISTANCE when the lattice allows it,
// up to this distance, which keeps the start area clear of the water frame
// and the rise of the land behind it.
constexpr int64_t kClearEdgeDistance = 68;
// How far a start may move from its place in the layout: a 25th of the
// spacing, so the nearest-rival distances stay within a few percent of each
// other, and at most this.
constexpr int64_t kMaxJitter = 12;
// The mountain's and the lake's centres from the tower.
constexpr int64_t kMountainDistance = 26;
constexpr int64_t kLakeDistance = 27;
// Where the map's own heights are read to choose their directions.
constexpr int64_t kLookDistance = 50;
constexpr int64_t kLookRadius = 14;
// Land heights: ground the levelling keeps as land without raising or lowering much.
constexpr int64_t kLandLow = 12;
constexpr int64_t kLandHigh = 40;
constexpr int64_t kHighGround = 36;

struct Lattice {
  int64_t columns = 1;
  int64_t rows = 1;
  int64_t edge = START_EDGE_DISTANCE;
  int64_t spacing = 0;  // the nearest two cells' distance; 0 for a single cell
};

int64_t requiredSpacing(int64_t size, int64_t players, int64_t leastSpacing) {
  const double spread = 0.8 * static_cast<double>(size) / std::sqrt(static_cast<double>(players));
  return std::max<int64_t>(
      {2 * START_DOMAIN, leastSpacing, static_cast<int64_t>(std::ceil(spread))});
}

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
  const int64_t required = players > 1 ? requiredSpacing(size, players, leastSpacing) : 0;
  if (size - 1 - 2 * START_EDGE_DISTANCE < 0 || best.spacing < required) {
    throw exception("Map too small for " + std::to_string(players) + " fair starts (starts need " +
                    std::to_string(required) + " tiles between them and " +
                    std::to_string(START_EDGE_DISTANCE) + " to every edge)");
  }
  while (best.edge < kClearEdgeDistance &&
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

// Height classes of the map's own height field, counted by summed areas.
struct HeightTables {
  SummedArea land;
  SummedArea high;
};

HeightTables heightTables(const Map& map) {
  const int64_t size = map.size;
  auto h = [&map](int64_t i) { return static_cast<int64_t>(map.heights[static_cast<size_t>(i)]); };
  return {SummedArea::of(size, [&](int64_t i) { return h(i) >= kLandLow && h(i) <= kLandHigh; }),
          SummedArea::of(size, [&](int64_t i) { return h(i) >= kHighGround; })};
}

// The tile within jitter of cell whose start area holds the most land; ties
// keep the first in row order.
Tile bestTile(const HeightTables& tables, const Tile& cell, int64_t jitter) {
  Tile best = cell;
  int64_t bestScore = -1;
  for (int64_t dy = -jitter; dy <= jitter; ++dy) {
    for (int64_t dx = -jitter; dx <= jitter; ++dx) {
      const int64_t score = tables.land.circle(cell.x + dx, cell.y + dy, START_RADIUS);
      if (score > bestScore) {
        bestScore = score;
        best = {cell.x + dx, cell.y + dy};
      }
    }
  }
  return best;
}

// The mountain towards the map's own high ground, the lake opposite it, so
// every start area is the same plan turned.
FairStart layOut(const HeightTables& tables, const Tile& tower) {
  size_t mountain = 0;
  int64_t most = -1;
  for (size_t d = 0; d < COMPASS.size(); ++d) {
    const Tile look = along(tower, d, kLookDistance);
    const int64_t high = tables.high.circle(look.x, look.y, kLookRadius);
    if (high > most) {
      most = high;
      mountain = d;
    }
  }
  const Tile m = along(tower, mountain, kMountainDistance);
  const Tile l = along(tower, mountain + 4, kLakeDistance);
  return {tower.x, tower.y, m.x, m.y, l.x, l.y};
}

FairStart imageOf(int64_t element, int64_t size, const FairStart& s) {
  const Tile t = image(element, size, {s.x, s.y});
  const Tile m = image(element, size, {s.mountainX, s.mountainY});
  const Tile l = image(element, size, {s.lakeX, s.lakeY});
  return {t.x, t.y, m.x, m.y, l.x, l.y};
}

}  // namespace

std::vector<FairStart> planFairStarts(const Map& map, int64_t playerCount, StartSymmetry symmetry,
                                      int64_t leastSpacing) {
  const int64_t size = map.size;
  if (symmetry != StartSymmetry::NONE && playerCount % 2 != 0) {
    throw exception("Symmetric maps need an even player count, not " + std::to_string(playerCount));
  }
  const HeightTables tables = heightTables(map);
  const int64_t order = symmetryOrder(symmetry);
  std::vector<Tile> firsts;
  int64_t jitter = 0;
  // Starts keep to the lattice's distance from the edges when moved.
  int64_t edge = START_EDGE_DISTANCE;
  if (symmetry == StartSymmetry::POINT_AND_DIAGONAL) {
    // One start at the middle of the left edge; its images stand at the
    // middles of the other three.
    const int64_t required = requiredSpacing(size, playerCount, leastSpacing);
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
    while (edge < kClearEdgeDistance && diagonal(edge + 1, middle) >= required) ++edge;
    firsts.push_back({edge, middle});
    jitter =
        std::min<int64_t>(diagonal(edge, middle) / 25, (diagonal(edge, middle) - required) / 3);
  } else {
    const Lattice lattice = chooseLattice(size, playerCount, leastSpacing);
    edge = lattice.edge;
    const int64_t required = playerCount > 1 ? requiredSpacing(size, playerCount, leastSpacing) : 0;
    jitter = std::min<int64_t>(lattice.spacing / 25, (lattice.spacing - required) / 3);
    // Six starts keep further from the edges on the wider layout, if any.
    int64_t sixEdge = -1;
    for (int64_t e = lattice.edge + 1; playerCount == 6 && e <= kClearEdgeDistance; ++e) {
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
  jitter = std::clamp<int64_t>(jitter, 0, kMaxJitter);
  std::vector<FairStart> starts;
  for (int64_t element = 0; element < order; ++element) {
    for (const Tile& first : firsts) {
      Tile tile = bestTile(tables, first, jitter);
      tile.x = std::clamp(tile.x, edge, size - 1 - edge);
      tile.y = std::clamp(tile.y, edge, size - 1 - edge);
      starts.push_back(imageOf(element, size, layOut(tables, tile)));
    }
  }
  return starts;
}

void placeFairTowers(Map& map, const std::vector<FairStart>& starts) {
  const int64_t size = map.size;
  for (size_t party = 0; party < starts.size(); ++party) {
    const FairStart& s = starts[party];
    const int64_t pos = s.x + size * s.y;
    if (!catalogue::canSetBuilding(map, pos, model::BuildingType::TOWER)) {
      throw exception("No room for the tower of player " + std::to_string(party));
    }
    catalogue::setBuilding(map, pos, model::BuildingType::TOWER, static_cast<uint8_t>(party),
                           START_SWORDSMEN, START_ARCHERS, START_SPEARMEN);
    for (int64_t dy = 1 - START_RADIUS; dy < START_RADIUS; ++dy) {
      const int64_t reach = circleHalfWidth(START_RADIUS, dy);
      const int64_t row = s.y + dy;
      if (row < 0 || row >= size || reach < 0) continue;
      const int64_t left = std::max<int64_t>(0, s.x - reach);
      const int64_t right = std::min(size - 1, s.x + reach);
      std::fill(map.party.begin() + left + row * size, map.party.begin() + right + 1 + row * size,
                static_cast<uint8_t>(party));
    }
  }
}

void setPlayerStartsToTowers(Map& map) {
  for (const model::Building& building : map.buildings) {
    if (building.party < map.players.size()) {
      map.players[building.party].startX = building.posX;
      map.players[building.party].startY = building.posY;
    }
  }
}

}  // namespace varnholt::generate
