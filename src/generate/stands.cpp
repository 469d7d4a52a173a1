#include "generate/stands.h"

#include <algorithm>
#include <cmath>

#include "catalogue/mapedit.h"
#include "generate/valuenoise.h"
#include "varnholt/model/landscapetype.h"

namespace varnholt::generate {

using model::LandscapeType;
using model::Map;

namespace {

// Nothing is planted this close to the tower: room for goods, settlers and
// the first houses.
constexpr int64_t kKeepClear = 19;
// Nor this far out: a symmetric map's copy clears the objects in a band
// along its seams, which run a few tiles outside the start area.
constexpr int64_t kPlantReach = START_RADIUS - 4;
// Stand centres lie between these distances from the tower, apart from
// the centres to avoid by kApart.
constexpr int64_t kCentreNear = 22;
constexpr int64_t kCentreFar = 32;
constexpr int64_t kApart = 15;
// Outline lobes and thick and thin patches about this many tiles across.
constexpr double kLobe = 7;
constexpr double kPatch = 5;

int64_t squared(int64_t dx, int64_t dy) { return dx * dx + dy * dy; }

// A hash as a number in 0..1.
double unit(uint64_t hash) { return static_cast<double>(hash >> 11) / 9007199254740992.0; }

bool plantable(const Map& map, const FairStart& s, int64_t x, int64_t y, const StandRule& rule) {
  const int64_t d2 = squared(x - s.x, y - s.y);
  if (d2 >= kPlantReach * kPlantReach || d2 < kKeepClear * kKeepClear) return false;
  const LandscapeType ground = map.landscape[static_cast<size_t>(x + map.size * y)];
  return ground == LandscapeType::GRASS || (!rule.trees && model::isDesert(ground));
}

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

std::vector<Stand> drawStands(const Map& map, Random& random, const FairStart& s,
                              const StandRule& rule, size_t kindCount,
                              const std::vector<Stand>& avoid) {
  std::vector<Stand> stands;
  const int64_t count = rule.leastStands + random.rand(rule.moreStands);
  const auto kind = [&] {
    return static_cast<size_t>(random.rand(static_cast<int64_t>(kindCount) - 1));
  };
  for (int64_t n = 0; n < count; ++n) {
    Stand stand;
    stand.x = s.x;
    stand.y = s.y;
    stand.reach = rule.reach * (0.6 + 0.1 * static_cast<double>(random.rand(8)));
    stand.kinds[0] = kind();
    stand.kinds[1] = kind();
    for (int tries = 0; tries < 24; ++tries) {
      const int64_t dx = random.rand(2 * kCentreFar) - kCentreFar;
      const int64_t dy = random.rand(2 * kCentreFar) - kCentreFar;
      const int64_t d2 = squared(dx, dy);
      if (d2 < kCentreNear * kCentreNear || d2 > kCentreFar * kCentreFar) continue;
      stand.x = s.x + dx;
      stand.y = s.y + dy;
      bool clear = plantable(map, s, stand.x, stand.y, rule);
      for (const Stand& other : avoid) {
        clear = clear && squared(stand.x - other.x, stand.y - other.y) >= kApart * kApart;
      }
      if (clear) break;
    }
    stands.push_back(stand);
  }
  return stands;
}

}  // namespace

StandPlan planStands(const Map& map, Random& random, const FairStart& s, const StandRule& rule,
                     std::span<const model::ObjectType> kinds, const std::vector<Stand>& avoid) {
  const int64_t size = map.size;
  StandPlan plan;
  plan.clearance = rule.clearance;
  plan.stands = drawStands(map, random, s, rule, kinds.size(), avoid);
  const auto key = static_cast<uint64_t>(random.rand(0x7FFFFFFF));
  const ValueNoise outline(mixKey(key, 1), kLobe);
  const ValueNoise density(mixKey(key, 2), kPatch);
  std::vector<std::pair<double, Offer>> ranked;
  for (int64_t y = s.y - kPlantReach; y <= s.y + kPlantReach; ++y) {
    for (int64_t x = s.x - kPlantReach; x <= s.x + kPlantReach; ++x) {
      if (x < 0 || y < 0 || x >= size || y >= size || !plantable(map, s, x, y, rule)) continue;
      double nearest = 1e9;
      const Stand* owner = &plan.stands.front();
      for (const Stand& stand : plan.stands) {
        const double d = std::sqrt(static_cast<double>(squared(x - stand.x, y - stand.y)));
        if (d / stand.reach < nearest) {
          nearest = d / stand.reach;
          owner = &stand;
        }
      }
      const auto fx = static_cast<double>(x);
      const auto fy = static_cast<double>(y);
      const int64_t tile = x + size * y;
      const uint64_t pick = mixKey(key + 1, static_cast<uint64_t>(tile));
      const size_t kind = pick % 8 < 6 ? owner->kinds[pick % 2] : pick / 8 % kinds.size();
      ranked.push_back({nearest + rule.ragged * outline.layered(fx, fy),
                        {tile, rule.thickest * (0.55 + 0.45 * density.at(fx, fy)),
                         unit(mixKey(key, static_cast<uint64_t>(tile))), kinds[kind]}});
    }
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : ranked) plan.offers.push_back(entry.second);
  return plan;
}

void plantStands(Map& map, const StandPlan& plan, int64_t count, double thickness,
                 std::vector<int64_t>& planted) {
  const int64_t size = map.size;
  int64_t left = count;
  for (int round = 0; round < 2 && left > 0; ++round) {
    for (const Offer& offer : plan.offers) {
      if (left == 0) break;
      if (round == 0 && offer.draw >= offer.chance * thickness) continue;
      if (!freeGround(map, offer.tile % size, offer.tile / size, plan.clearance)) continue;
      catalogue::setObject(map, offer.tile, offer.kind);
      planted.push_back(offer.tile);
      --left;
    }
  }
}

}  // namespace varnholt::generate
