#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "catalogue/mapedit.h"
#include "generate/compass.h"
#include "generate/fairstages.h"
#include "generate/startgoods.h"
#include "generate/startlattice.h"
#include "generate/startlayout.h"
#include "generate/symmetry.h"
#include "geometry/circle.h"
#include "geometry/summedarea.h"
#include "geometry/tiles.h"
#include "varnholt/model/error.h"
#include "varnholt/model/teams.h"

namespace varnholt::generate {

using geometry::SummedArea;
using geometry::circleHalfWidth;

using model::Map;

namespace {

// The searched layouts: how many are tried, for up to how many players, and
// the most the nearest-rival distances may vary (a margin below the
// guarantees of 1.25 without teams and 1.3 with them).
constexpr int64_t kAttempts = 120;
constexpr int64_t kMostSearched = 32;
constexpr double kFrontSpread = 1.2;
constexpr double kTeamFrontSpread = 1.25;
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

// The rules of a searched layout: without teams every start is every other's
// rival; with them mates may stand as close as the start areas allow.
LayoutRules layoutRules(int64_t size, int64_t playerCount, StartSymmetry symmetry,
                        int64_t leastSpacing, const model::Teams& teams) {
  LayoutRules rules;
  rules.size = size;
  rules.clearEdge = CLEAR_EDGE_DISTANCE;
  rules.symmetry = symmetry;
  rules.rivalSpacing = playerCount > 1 ? fairStartSpacing(size, playerCount, leastSpacing) : 0;
  rules.mateSpacing = rules.rivalSpacing;
  rules.frontSpread = kFrontSpread;
  for (int64_t player = 0; player < playerCount; ++player) {
    rules.team.push_back(teams.count == 0 ? static_cast<int32_t>(player)
                                          : model::teamOf(teams, player));
  }
  if (teams.count > 0) {
    rules.mateSpacing = std::max<int64_t>(2 * START_DOMAIN, leastSpacing);
    rules.frontSpread = kTeamFrontSpread;
  }
  return rules;
}

}  // namespace

std::vector<FairStart> planFairStarts(const Map& map, Random& random, int64_t playerCount,
                                      StartSymmetry symmetry, int64_t leastSpacing,
                                      const model::Teams& teams) {
  const int64_t size = map.size;
  if (symmetry != StartSymmetry::NONE && playerCount % 2 != 0) {
    throw exception("Symmetric maps need an even player count, not " + std::to_string(playerCount));
  }
  const HeightTables tables = heightTables(map);
  const LayoutRules rules = layoutRules(size, playerCount, symmetry, leastSpacing, teams);
  const auto tooSmallForTeams = [&] {
    return exception(
        "Map too small for " + model::teamsText(teams) + " at size " + std::to_string(size) +
        " (team starts need " + std::to_string(rules.mateSpacing) + " tiles between mates, " +
        std::to_string(rules.rivalSpacing) + " between rivals and " +
        std::to_string(START_EDGE_DISTANCE) + " to every edge, each start's nearest start a mate)");
  };
  // Team maps need room for as many starts as a map without teams.
  std::optional<LatticeLayout> lattice;
  try {
    lattice = latticeLayout(size, playerCount, symmetry, leastSpacing);
  } catch (const Error&) {
    if (teams.count == 0) throw;
    throw tooSmallForTeams();
  }
  const int64_t jitter = std::clamp<int64_t>(rules.mateSpacing / 25, 0, MAX_START_JITTER);
  const auto settleWithin = [&](const Tile& tile, int64_t edge, int64_t reach) {
    const Tile best = bestTile(tables, tile, reach);
    return Tile{std::clamp(best.x, edge, size - 1 - edge),
                std::clamp(best.y, edge, size - 1 - edge)};
  };
  const auto settle = [&](const Tile& tile, int64_t edge) {
    return settleWithin(tile, edge, jitter);
  };
  std::optional<std::vector<Tile>> firsts;
  if (playerCount <= kMostSearched) firsts = searchLayout(rules, random, kAttempts, settle);
  if (!firsts && teams.count > 0) throw tooSmallForTeams();
  if (!firsts) {
    firsts.emplace();
    for (const Tile& first : lattice->firsts) {
      firsts->push_back(settleWithin(first, lattice->edge, lattice->jitter));
    }
  }
  std::vector<FairStart> starts;
  for (int64_t element = 0; element < symmetryOrder(symmetry); ++element) {
    for (const Tile& tile : *firsts) starts.push_back(imageOf(element, size, layOut(tables, tile)));
  }
  for (size_t k = 0; k < starts.size(); ++k) starts[k].team = rules.team[k];
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

void nameTeamPlayers(Map& map, const model::Teams& teams) {
  if (teams.count == 0) return;
  for (size_t player = 0; player < map.players.size(); ++player) {
    const size_t length = map.players[player].name.size();
    std::string name = model::teamPlayerName(static_cast<int64_t>(player),
                                             model::teamOf(teams, static_cast<int64_t>(player)));
    name.resize(std::max(length, name.size()), ' ');
    map.players[player].name = std::move(name);
  }
}

}  // namespace varnholt::generate
