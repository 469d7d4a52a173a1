#include "generate/startlayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "generate/symmetry.h"
#include "geometry/tiles.h"

namespace varnholt::generate {

namespace {

// Rounds of pushing and pulling per layout.
constexpr int64_t kRounds = 160;
// Starts are pushed a little beyond their least distances, so rounding to
// tiles and settling keep them.
constexpr double kSpacingReserve = 1.04;
// A start whose nearest rival stands further than this times the shortest
// front is drawn towards it.
constexpr double kFrontSlack = 1.08;
// With teams, a start's nearest mate is drawn in while it stands further
// than this share of the nearest rival's distance.
constexpr double kMateShare = 0.85;
// Draws of a uniform number in [0, 1) have this resolution.
constexpr int64_t kUnit = 1 << 20;

struct Point {
  double x = 0;
  double y = 0;
};

double uniform(Random& random) {
  return static_cast<double>(random.rand(kUnit - 1)) / static_cast<double>(kUnit);
}

// The image of point under element, as symmetry.h maps tiles; every element
// is its own inverse.
Point imageOf(int64_t element, int64_t size, Point p) {
  const double last = static_cast<double>(size - 1);
  switch (element) {
    case 1:
      return {last - p.x, last - p.y};
    case 2:
      return {p.y, p.x};
    case 3:
      return {last - p.y, last - p.x};
    default:
      return p;
  }
}

// Lengths by the correctly rounded square root, not hypot, whose last bit
// differs between C libraries: the layout is the same on every platform.
double norm(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

double length(Point a, Point b) { return norm(a.x - b.x, a.y - b.y); }

// Moves from towards or away from to by step (negative: away).
void moveAlong(Point& move, Point from, Point to, double step, size_t tieBreak) {
  double dx = to.x - from.x;
  double dy = to.y - from.y;
  double d = norm(dx, dy);
  if (d < 1e-9) {
    // Starts on one place part along a direction fixed by their numbers.
    dx = static_cast<double>(tieBreak % 3) - 1.0;
    dy = tieBreak % 3 == 1 ? 1.0 : 0.0;
    d = norm(dx, dy);
  }
  move.x += dx / d * step;
  move.y += dy / d * step;
}

// The nearest start of the same team (mates) or of another (rivals) to start i.
size_t nearestOf(const std::vector<Point>& points, const LayoutRules& rules, size_t i, bool mates) {
  size_t best = i;
  double bestDistance = std::numeric_limits<double>::max();
  for (size_t j = 0; j < points.size(); ++j) {
    if (j == i || (rules.team[j] == rules.team[i]) != mates) continue;
    const double d = length(points[i], points[j]);
    if (d < bestDistance) {
      bestDistance = d;
      best = j;
    }
  }
  return best;
}

// One round: every start's move from pushing, drawing in and levelling.
std::vector<Point> moves(const std::vector<Point>& points, const LayoutRules& rules) {
  const size_t n = points.size();
  std::vector<Point> move(n);
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      const bool mates = rules.team[i] == rules.team[j];
      const double need =
          kSpacingReserve * static_cast<double>(mates ? rules.mateSpacing : rules.rivalSpacing);
      const double d = length(points[i], points[j]);
      if (d >= need) continue;
      moveAlong(move[i], points[i], points[j], -(need - d) / 2, i + j);
      moveAlong(move[j], points[j], points[i], -(need - d) / 2, i + j + 1);
    }
  }
  std::vector<size_t> rival(n);
  double shortestFront = std::numeric_limits<double>::max();
  for (size_t i = 0; i < n; ++i) {
    rival[i] = nearestOf(points, rules, i, false);
    if (rival[i] != i) shortestFront = std::min(shortestFront, length(points[i], points[rival[i]]));
  }
  for (size_t i = 0; i < n; ++i) {
    if (rival[i] == i) continue;
    const double front = length(points[i], points[rival[i]]);
    if (front > kFrontSlack * shortestFront) {
      moveAlong(move[i], points[i], points[rival[i]], (front - kFrontSlack * shortestFront) / 4, i);
    }
    const size_t mate = nearestOf(points, rules, i, true);
    if (mate == i) continue;
    const double d = length(points[i], points[mate]);
    if (d > kMateShare * front) {
      moveAlong(move[i], points[i], points[mate], (d - kMateShare * front) / 4, i);
      moveAlong(move[i], points[i], points[rival[i]], -(d - kMateShare * front) / 4, i);
    }
  }
  return move;
}

// True when every team's starts are joined through links between pairs of
// mates no further apart than one of the two stands from its nearest rival.
bool teamsHangTogether(const std::vector<Tile>& tiles, const LayoutRules& rules,
                       const std::vector<int64_t>& nearestRival) {
  const size_t n = tiles.size();
  std::vector<uint8_t> reached(n, 0);
  std::vector<int32_t> teamsSeen;
  for (size_t first = 0; first < n; ++first) {
    if (reached[first] != 0) continue;
    // A start no walk from a mate reached begins its team's walk, once.
    if (std::find(teamsSeen.begin(), teamsSeen.end(), rules.team[first]) != teamsSeen.end()) {
      return false;
    }
    teamsSeen.push_back(rules.team[first]);
    std::vector<size_t> walk = {first};
    reached[first] = 1;
    while (!walk.empty()) {
      const size_t i = walk.back();
      walk.pop_back();
      for (size_t j = 0; j < n; ++j) {
        if (reached[j] != 0 || rules.team[j] != rules.team[i]) continue;
        const int64_t d = distance(tiles[i].x, tiles[i].y, tiles[j].x, tiles[j].y);
        if (d > std::max(nearestRival[i], nearestRival[j])) continue;
        reached[j] = 1;
        walk.push_back(j);
      }
    }
  }
  return true;
}

}  // namespace

bool keepsRules(const std::vector<Tile>& tiles, const LayoutRules& rules) {
  const size_t n = tiles.size();
  std::vector<int64_t> nearestMate(n, std::numeric_limits<int64_t>::max());
  std::vector<int64_t> nearestRival(n, std::numeric_limits<int64_t>::max());
  for (size_t i = 0; i < n; ++i) {
    const Tile& t = tiles[i];
    if (std::min(t.x, t.y) < rules.edge || std::max(t.x, t.y) > rules.size - 1 - rules.edge) {
      return false;
    }
    for (size_t j = 0; j < n; ++j) {
      if (j == i) continue;
      const int64_t d = distance(t.x, t.y, tiles[j].x, tiles[j].y);
      const bool mates = rules.team[i] == rules.team[j];
      if (d < (mates ? rules.mateSpacing : rules.rivalSpacing)) return false;
      int64_t& nearest = mates ? nearestMate[i] : nearestRival[i];
      nearest = std::min(nearest, d);
    }
    if (nearestMate[i] != std::numeric_limits<int64_t>::max() &&
        nearestMate[i] >= nearestRival[i]) {
      return false;
    }
  }
  if (n < 2 || nearestRival[0] == std::numeric_limits<int64_t>::max()) return true;
  const auto [shortest, longest] = std::minmax_element(nearestRival.begin(), nearestRival.end());
  if (static_cast<double>(*longest) > rules.frontSpread * static_cast<double>(*shortest)) {
    return false;
  }
  return teamsHangTogether(tiles, rules, nearestRival);
}

std::vector<Tile> withImages(const std::vector<Tile>& firsts, const LayoutRules& rules) {
  std::vector<Tile> tiles;
  for (int64_t element = 0; element < symmetryOrder(rules.symmetry); ++element) {
    for (const Tile& first : firsts) tiles.push_back(image(element, rules.size, first));
  }
  return tiles;
}

std::vector<Tile> spreadLayout(const LayoutRules& rules, Random& random, int64_t edge) {
  const size_t n = rules.team.size();
  const int64_t order = symmetryOrder(rules.symmetry);
  const size_t firstCount = n / static_cast<size_t>(order);
  const double low = static_cast<double>(edge);
  const double high = static_cast<double>(rules.size - 1 - edge);
  auto inBox = [low, high](double v) { return std::clamp(v, low, high); };
  // Mates start near one random place per team, so they grow up together.
  std::vector<Point> teamPlace;
  std::vector<Point> points(n);
  for (size_t i = 0; i < n; ++i) {
    const auto team = static_cast<size_t>(rules.team[i]);
    while (teamPlace.size() <= team) {
      teamPlace.push_back(
          {low + (high - low) * uniform(random), low + (high - low) * uniform(random)});
    }
    const double reach = static_cast<double>(rules.mateSpacing);
    points[i] = {inBox(teamPlace[team].x + reach * (uniform(random) - 0.5)),
                 inBox(teamPlace[team].y + reach * (uniform(random) - 0.5))};
  }
  // Under a symmetry every first start is the mean of its orbit's images.
  auto symmetrize = [&] {
    for (size_t i = 0; i < firstCount; ++i) {
      Point mean;
      for (int64_t e = 0; e < order; ++e) {
        const Point p = imageOf(e, rules.size, points[static_cast<size_t>(e) * firstCount + i]);
        mean.x += p.x / static_cast<double>(order);
        mean.y += p.y / static_cast<double>(order);
      }
      for (int64_t e = 0; e < order; ++e) {
        points[static_cast<size_t>(e) * firstCount + i] = imageOf(e, rules.size, mean);
      }
    }
  };
  symmetrize();
  for (int64_t round = 0; round < kRounds; ++round) {
    const std::vector<Point> move = moves(points, rules);
    for (size_t i = 0; i < n; ++i) {
      points[i] = {inBox(points[i].x + move[i].x), inBox(points[i].y + move[i].y)};
    }
    symmetrize();
  }
  std::vector<Tile> firsts;
  for (size_t i = 0; i < firstCount; ++i) {
    firsts.push_back({std::clamp<int64_t>(std::llround(points[i].x), edge, rules.size - 1 - edge),
                      std::clamp<int64_t>(std::llround(points[i].y), edge, rules.size - 1 - edge)});
  }
  return firsts;
}

std::optional<std::vector<Tile>> searchLayout(const LayoutRules& rules, Random& random,
                                              int64_t attempts, const Settle& settle) {
  for (int64_t attempt = 0; attempt < attempts; ++attempt) {
    const int64_t edge = rules.clearEdge - (rules.clearEdge - rules.edge) * attempt /
                                               std::max<int64_t>(1, attempts - 1);
    const std::vector<Tile> firsts = spreadLayout(rules, random, edge);
    if (!keepsRules(withImages(firsts, rules), rules)) continue;
    std::vector<Tile> settled;
    for (const Tile& tile : firsts) settled.push_back(settle(tile, edge));
    return keepsRules(withImages(settled, rules), rules) ? settled : firsts;
  }
  return std::nullopt;
}

}  // namespace varnholt::generate
