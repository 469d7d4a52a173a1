// plantStartObjects: the woods and rock of every start area, grown as
// stands of uneven density around a few centres of the start's own.
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "catalogue/mapedit.h"
#include "generate/fairstages.h"
#include "generate/startspots.h"
#include "generate/valuenoise.h"
#include "inspect/conventions.h"
#include "model/landscapetype.h"
#include "model/objecttype.h"

namespace varnholt::generate {

using model::LandscapeType;
using model::Map;
using model::ObjectType;

namespace {

// Woods of the oases of desert maps: mostly palms.
constexpr std::array<ObjectType, 6> kOasisTrees = {
    ObjectType::TREE_ARECACEAE_1, ObjectType::TREE_ARECACEAE_2, ObjectType::TREE_ARECACEAE_1,
    ObjectType::TREE_ARECACEAE_2, ObjectType::TREE_BIRCH_1,     ObjectType::TREE_OAK_1};
// Nothing is planted this close to the tower: room for goods, settlers and
// the first houses.
constexpr int64_t kKeepClear = 16;
// Nor this far out: a symmetric map's copy clears the objects in a band
// along its seams, which run a few tiles outside the start area.
constexpr int64_t kPlantReach = START_RADIUS - 4;
// Stand centres lie between these distances from the tower.
constexpr int64_t kCentreNear = 20;
constexpr int64_t kCentreFar = 32;

// How the stands of one kind of object grow: how many centres, how far a
// stand reaches per unit of its size, how ragged its outline is and how
// thick it stands.
struct StandRule {
  int64_t leastStands;
  int64_t moreStands;  // up to this many more, drawn
  double reach;        // tiles per unit of a stand's drawn size
  double ragged;       // weight of the outline noise
  double thickest;     // the densest a stand grows, 0..1
  int64_t clearance;   // rows and columns around an object kept empty
  bool trees;
};
constexpr StandRule kWoods = {2, 2, 9, 0.5, 0.85, 1, true};
// The range of thickness the woods are tried in, and how many tries each
// start gets: the more thinly a wood stands, the more building room it takes.
constexpr double kThickest = 1.3;
constexpr double kThinnest = 0.08;
constexpr int kTries = 9;
constexpr StandRule kRock = {1, 1, 5, 0.35, 0.9, inspect::STONE_CLEARANCE, false};

int64_t squared(int64_t dx, int64_t dy) { return dx * dx + dy * dy; }

// A hash as a number in 0..1.
double unit(uint64_t hash) { return static_cast<double>(hash >> 11) / 9007199254740992.0; }

// True when every tile within clearance rows and columns of tile (x, y) that
// lies on the map is empty. With clearance 1 this is the free-ground rule of
// the object scatter (the tile and its eight neighbours); stones get the
// wider room the ground conventions give them.
bool freeGround(const Map& map, int64_t x, int64_t y, int64_t clearance) {
  const int64_t size = map.size;
  for (int64_t ny = std::max<int64_t>(0, y - clearance); ny <= std::min(size - 1, y + clearance);
       ++ny) {
    for (int64_t nx = std::max<int64_t>(0, x - clearance);
         nx <= std::min(size - 1, x + clearance); ++nx) {
      if (!model::isEmptyOnMap(map, static_cast<size_t>(nx + size * ny))) return false;
    }
  }
  return true;
}

bool plantable(const Map& map, const FairStart& s, int64_t x, int64_t y, const StandRule& rule) {
  const int64_t d2 = squared(x - s.x, y - s.y);
  if (d2 >= kPlantReach * kPlantReach || d2 < kKeepClear * kKeepClear) return false;
  const LandscapeType ground = map.landscape[static_cast<size_t>(x + map.size * y)];
  return ground == LandscapeType::GRASS || (!rule.trees && model::isDesert(ground));
}

struct Stand {
  int64_t x, y;
  double reach;
  std::array<size_t, 2> kinds;  // the two kinds most of it is of
};

// Draws the stands' centres on plantable ground where one is found, away
// from the centres in avoid.
std::vector<Stand> drawStands(const Map& map, Random& random, const FairStart& s,
                              const StandRule& rule, size_t kindCount,
                              const std::vector<Stand>& avoid) {
  std::vector<Stand> stands;
  const int64_t count = rule.leastStands + random.rand(rule.moreStands);
  for (int64_t n = 0; n < count; ++n) {
    Stand stand{s.x, s.y, rule.reach * (0.6 + 0.1 * static_cast<double>(random.rand(8))),
                {static_cast<size_t>(random.rand(static_cast<int64_t>(kindCount) - 1)),
                 static_cast<size_t>(random.rand(static_cast<int64_t>(kindCount) - 1))}};
    for (int tries = 0; tries < 24; ++tries) {
      const int64_t dx = random.rand(2 * kCentreFar) - kCentreFar;
      const int64_t dy = random.rand(2 * kCentreFar) - kCentreFar;
      const int64_t d2 = squared(dx, dy);
      if (d2 < kCentreNear * kCentreNear || d2 > kCentreFar * kCentreFar) continue;
      stand.x = s.x + dx;
      stand.y = s.y + dy;
      bool clear = plantable(map, s, stand.x, stand.y, rule);
      for (const Stand& other : avoid) {
        clear = clear && squared(stand.x - other.x, stand.y - other.y) >= 15 * 15;
      }
      if (clear) break;
    }
    stands.push_back(stand);
  }
  return stands;
}

// Plants count objects of kinds in stands around the start: the plantable
// tiles are ranked by their distance to the nearest stand centre (over the
// stand's reach) plus the outline noise, and taken in that order where free,
// each with the chance the density noise gives times thickness (drawn from
// the tile, so a thicker try keeps every tile a thinner one took); a second
// round takes every free tile in order, so the count is met wherever the
// ground allows. Adds the tiles planted to planted; returns the stands.
template <size_t N>
std::vector<Stand> plantStands(Map& map, Random& random, const FairStart& s, int64_t count,
                               const StandRule& rule, const std::array<ObjectType, N>& kinds,
                               const std::vector<Stand>& avoid, double thickness,
                               std::vector<int64_t>& planted) {
  const int64_t size = map.size;
  const std::vector<Stand> stands = drawStands(map, random, s, rule, N, avoid);
  const uint64_t key = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
  const ValueNoise outline(mixKey(key, 1), 7);
  const ValueNoise density(mixKey(key, 2), 5);
  std::vector<std::tuple<double, int64_t, size_t>> ranked;
  for (int64_t y = s.y - kPlantReach; y <= s.y + kPlantReach; ++y) {
    for (int64_t x = s.x - kPlantReach; x <= s.x + kPlantReach; ++x) {
      if (x < 0 || y < 0 || x >= size || y >= size || !plantable(map, s, x, y, rule)) continue;
      double best = 1e9;
      size_t owner = 0;
      for (size_t k = 0; k < stands.size(); ++k) {
        const double d = std::sqrt(static_cast<double>(squared(x - stands[k].x, y - stands[k].y)));
        if (d / stands[k].reach < best) {
          best = d / stands[k].reach;
          owner = k;
        }
      }
      const double score =
          best + rule.ragged * outline.layered(static_cast<double>(x), static_cast<double>(y));
      ranked.emplace_back(score, x + size * y, owner);
    }
  }
  std::sort(ranked.begin(), ranked.end());
  int64_t left = count;
  for (int round = 0; round < 2 && left > 0; ++round) {
    for (const auto& [score, tile, owner] : ranked) {
      if (left == 0) break;
      const int64_t x = tile % size;
      const int64_t y = tile / size;
      if (round == 0) {
        const double thick =
            thickness * rule.thickest *
            (0.55 + 0.45 * density.at(static_cast<double>(x), static_cast<double>(y)));
        if (unit(mixKey(key, static_cast<uint64_t>(tile))) >= thick) continue;
      }
      if (!freeGround(map, x, y, rule.clearance)) continue;
      // Three in four of a stand's objects are of its own two kinds.
      const Stand& stand = stands[owner];
      const uint64_t pick = mixKey(key + 1, static_cast<uint64_t>(tile));
      const size_t kind = pick % 8 < 6 ? stand.kinds[pick % 2] : static_cast<size_t>(pick / 8 % N);
      catalogue::setObject(map, tile, kinds[kind]);
      planted.push_back(tile);
      --left;
    }
  }
  return stands;
}

void clearObjects(Map& map, const FairStart& s) {
  const int64_t size = map.size;
  for (int64_t y = s.y - START_LEVEL_RADIUS; y <= s.y + START_LEVEL_RADIUS; ++y) {
    for (int64_t x = s.x - START_LEVEL_RADIUS; x <= s.x + START_LEVEL_RADIUS; ++x) {
      if (x < 0 || y < 0 || x >= size || y >= size) continue;
      if (squared(x - s.x, y - s.y) >= START_LEVEL_RADIUS * START_LEVEL_RADIUS) continue;
      const auto i = static_cast<size_t>(x + size * y);
      if (map.objects[i] == ObjectType::NO_OBJECT) continue;
      // Only objects block grass and desert; the tile is free again.
      map.objects[i] = ObjectType::NO_OBJECT;
      map.accessible[i] = model::AccessibleType::EMPTY;
    }
  }
}

void unplant(Map& map, const std::vector<int64_t>& tiles) {
  for (int64_t tile : tiles) {
    map.objects[static_cast<size_t>(tile)] = ObjectType::NO_OBJECT;
    map.accessible[static_cast<size_t>(tile)] = model::AccessibleType::EMPTY;
  }
}

// Plants the woods, then the rock, of one start from its own random state,
// so every try at another thickness draws the same stands. Returns the
// tiles planted.
std::vector<int64_t> plantStart(Map& map, RandomState state, const FairStart& s,
                                const StartObjects& objects, double thickness) {
  Random random(state);
  std::vector<int64_t> planted;
  const std::vector<Stand> woods =
      objects.palms
          ? plantStands(map, random, s, objects.trees, kWoods, kOasisTrees, {}, thickness, planted)
          : plantStands(map, random, s, objects.trees, kWoods, model::TREE_TYPES, {}, thickness,
                        planted);
  plantStands(map, random, s, objects.stones, kRock, model::STONE_TYPES, woods, 1.0, planted);
  return planted;
}

}  // namespace

void plantStartObjects(Map& map, Random& random, const std::vector<FairStart>& starts,
                       const StartObjects& objects, int64_t piles) {
  for (const FairStart& s : starts) clearObjects(map, s);
  std::vector<RandomState> states;
  for (size_t k = 0; k < starts.size(); ++k) {
    const auto a = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
    const auto b = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
    states.push_back({mixKey(a, 1), mixKey(b, 2)});
  }
  // The room each start keeps with its woods at their thickest; per
  // footprint, the poorest start's is the goal.
  std::vector<StartRoom> thickest;
  StartRoom goal = {};
  for (size_t k = 0; k < starts.size(); ++k) {
    const std::vector<int64_t> planted = plantStart(map, states[k], starts[k], objects, kThickest);
    thickest.push_back(startRoom(map, starts[k], piles));
    unplant(map, planted);
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      goal.spots[f] = k == 0 ? thickest[k].spots[f] : std::min(goal.spots[f], thickest[k].spots[f]);
    }
  }
  // Each start's room over the goal, summed over the footprints; the
  // poorest start's at its thickest is what every start is brought to.
  const auto score = [&](const StartRoom& room) {
    double sum = 0;
    for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
      sum += static_cast<double>(room.spots[f]) / static_cast<double>(std::max<int64_t>(1, goal.spots[f]));
    }
    return sum;
  };
  double target = score(thickest.front());
  for (const StartRoom& room : thickest) target = std::min(target, score(room));
  // Each start thins its woods, which then take more room, until its room
  // comes down to the target: halving the range of thickness, keeping the
  // try nearest the target.
  for (size_t k = 0; k < starts.size(); ++k) {
    double thin = kThinnest;
    double thick = kThickest;
    double best = kThickest;
    double bestOff = std::abs(score(thickest[k]) - target);
    for (int step = 0; step < kTries && bestOff > 0; ++step) {
      const double thickness = step == 0 ? thin : (thin + thick) / 2;
      const std::vector<int64_t> planted =
          plantStart(map, states[k], starts[k], objects, thickness);
      const double room = score(startRoom(map, starts[k], piles));
      unplant(map, planted);
      if (std::abs(room - target) < bestOff) {
        best = thickness;
        bestOff = std::abs(room - target);
      }
      if (step == 0 && room >= target) break;
      (room > target ? thick : thin) = thickness;
    }
    plantStart(map, states[k], starts[k], objects, best);
  }
}

}  // namespace varnholt::generate
