#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "catalogue/mapedit.h"
#include "generate/amounts.h"
#include "generate/compass.h"
#include "generate/fairstages.h"
#include "geometry/circle.h"
#include "model/groundrules.h"
#include "varnholt/model/landscapetype.h"
#include "varnholt/model/objecttype.h"
#include "varnholt/model/resourcetype.h"

namespace varnholt::generate {

using geometry::Circle;

using model::LandscapeType;
using model::Map;
using model::ObjectType;
using model::ResourceType;

namespace {

// Patches: where they lie, turned from the mountain's direction (the lake
// lies opposite it), how far out from the tower and how wide. Stones lie
// at the mountain's foot, woods on either side.
constexpr std::array<size_t, 2> kTreeTurns = {2, 6};
constexpr std::array<size_t, 2> kStoneTurns = {1, 7};
constexpr int64_t kPatchDistance = 30;
// A patch is at least this wide, and wider for a larger share: a tree
// takes about five tiles of its patch, a stone with its clearance twelve.
constexpr int64_t kPatchRadius = 9;
constexpr int64_t kTilesPerTree = 5;
constexpr int64_t kTilesPerStone = 12;
constexpr int64_t kPatchWidening = 6;
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
// The most a tile's deposit may hold, and a water tile's fish (the most the
// resource stage gives).
constexpr uint8_t kMaxAmount = 15;
constexpr uint8_t kMaxFish = 8;
// The mineral pattern laid along the mountain: of every ten tiles from its
// centre out, five coal, three iron, one gold and one sulfur. Every tile
// gets one, so none keeps the fish code the resource stage leaves on
// mountain tiles it gives no mineral.
constexpr std::array<ResourceType, 10> kPattern = {
    ResourceType::COAL, ResourceType::IRONORE, ResourceType::COAL, ResourceType::GOLDORE,
    ResourceType::COAL, ResourceType::IRONORE, ResourceType::COAL, ResourceType::IRONORE,
    ResourceType::COAL, ResourceType::SULFUR};
constexpr std::array<ResourceType, 4> kMinerals = {ResourceType::COAL, ResourceType::IRONORE,
                                                   ResourceType::GOLDORE, ResourceType::SULFUR};

int64_t squared(int64_t dx, int64_t dy) { return dx * dx + dy * dy; }

bool inArea(const FairStart& s, int64_t x, int64_t y) {
  return squared(x - s.x, y - s.y) < START_RADIUS * START_RADIUS;
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

using model::isMineralGround;

// Plants up to count objects drawn from kinds around the patch centre,
// nearest first, within a radius that grows with count (plus widen), on
// tiles of the start area that are free ground with the clearance and
// allowed by the ground test. Returns how many it planted.
template <size_t N, typename Ground>
int64_t plantPatch(Map& map, Random& random, const FairStart& s, int64_t centre, int64_t count,
                   int64_t widen, const std::array<ObjectType, N>& kinds, int64_t clearance,
                   Ground ground) {
  const int64_t size = map.size;
  const int64_t perObject = clearance > 1 ? kTilesPerStone : kTilesPerTree;
  const auto wide = static_cast<int64_t>(
      std::ceil(std::sqrt(static_cast<double>(count * perObject) / std::numbers::pi)));
  int64_t planted = 0;
  for (int64_t tile : Circle(size, size, centre, std::max(kPatchRadius, wide) + widen)) {
    if (planted == count) break;
    const int64_t x = tile % size;
    const int64_t y = tile / size;
    const int64_t d2 = squared(x - s.x, y - s.y);
    if (d2 >= kPlantReach * kPlantReach || d2 < kKeepClear * kKeepClear) continue;
    if (!ground(map.landscape[static_cast<size_t>(tile)])) continue;
    if (!freeGround(map, x, y, clearance)) continue;
    catalogue::setObject(map, tile,
                         kinds[static_cast<size_t>(random.rand(static_cast<int64_t>(N) - 1))]);
    ++planted;
  }
  return planted;
}

// Plants total objects in patches, an equal share each, at the given turns
// (in eighths) from the compass direction of the start's mountain; a patch
// that runs out of ground hands the rest on to the next, the last to the
// first.
template <size_t N, size_t P, typename Ground>
void plantPatches(Map& map, Random& random, const FairStart& s, int64_t total,
                  const std::array<size_t, P>& turns, const std::array<ObjectType, N>& kinds,
                  int64_t clearance, Ground ground) {
  const int64_t size = map.size;
  const size_t mountain = compassIndex({s.x, s.y}, {s.mountainX, s.mountainY});
  int64_t left = total;
  for (size_t p = 0; left > 0 && p < 2 * P; ++p) {
    const Tile centre = along({s.x, s.y}, mountain + turns[p % P], kPatchDistance);
    if (centre.x < 0 || centre.y < 0 || centre.x >= size || centre.y >= size) continue;
    const auto remaining = static_cast<int64_t>(P - std::min(p, P - 1));
    const int64_t share = (left + remaining - 1) / remaining;
    // The second round reaches further out for what the first left.
    const int64_t widen = p < P ? 0 : kPatchWidening;
    left -= plantPatch(map, random, s, centre.x + size * centre.y, share, widen, kinds,
                       clearance, ground);
  }
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

// The tiles of the start area whose ground passes test, nearest (cx, cy) first.
template <typename Test>
std::vector<size_t> areaTiles(const Map& map, const FairStart& s, int64_t cx, int64_t cy,
                              Test test) {
  const int64_t size = map.size;
  std::vector<size_t> tiles;
  for (int64_t tile : Circle(size, size, cx + size * cy, 2 * START_RADIUS)) {
    if (inArea(s, tile % size, tile / size) && test(map.landscape[static_cast<size_t>(tile)])) {
      tiles.push_back(static_cast<size_t>(tile));
    }
  }
  return tiles;
}

int64_t total(const Map& map, const std::vector<size_t>& tiles, ResourceType mineral) {
  int64_t sum = 0;
  for (size_t i : tiles) {
    if (map.resources[i] == mineral) sum += map.resourceAmounts[i];
  }
  return sum;
}

// Raises the amounts of kind on each start's tiles, first tiles first, up to
// most per tile, until its total matches the richest start's or the tiles
// are full.
void raiseToRichest(Map& map, const std::vector<std::vector<size_t>>& areas, ResourceType kind,
                    uint8_t most) {
  int64_t richest = 0;
  for (const std::vector<size_t>& tiles : areas)
    richest = std::max(richest, total(map, tiles, kind));
  for (const std::vector<size_t>& tiles : areas) {
    int64_t missing = richest - total(map, tiles, kind);
    for (size_t i : tiles) {
      if (missing <= 0) break;
      if (map.resources[i] != kind) continue;
      const int64_t add = std::min<int64_t>(most - map.resourceAmounts[i], missing);
      if (add <= 0) continue;
      map.resourceAmounts[i] = static_cast<uint8_t>(map.resourceAmounts[i] + add);
      missing -= add;
    }
  }
}

template <size_t N>
void plantStart(Map& map, Random& random, const FairStart& s, const StartObjects& objects,
                const std::array<ObjectType, N>& trees) {
  plantPatches(map, random, s, objects.trees, kTreeTurns, trees, 1,
               [](LandscapeType t) { return t == LandscapeType::GRASS; });
  plantPatches(map, random, s, objects.stones, kStoneTurns, model::STONE_TYPES,
               model::STONE_CLEARANCE,
               [](LandscapeType t) { return t == LandscapeType::GRASS || model::isDesert(t); });
}

}  // namespace

void plantStartObjects(Map& map, Random& random, const std::vector<FairStart>& starts,
                       const StartObjects& objects) {
  for (const FairStart& s : starts) clearObjects(map, s);
  for (const FairStart& s : starts) {
    if (objects.palms) {
      plantStart(map, random, s, objects, kOasisTrees);
    } else {
      plantStart(map, random, s, objects, model::TREE_TYPES);
    }
  }
}

void balanceStartMinerals(Map& map, const std::vector<FairStart>& starts,
                          model::ResourceAmount amount) {
  std::vector<std::vector<size_t>> mountains;
  std::vector<std::vector<size_t>> waters;
  for (const FairStart& s : starts) {
    // Minerals lie under mountain ground and its inner border only, as the
    // ground conventions keep them; the outer border holds none.
    for (size_t i : areaTiles(map, s, s.mountainX, s.mountainY, model::isMountain)) {
      if (!isMineralGround(map.landscape[i])) map.resourceAmounts[i] = 0;
    }
    mountains.push_back(areaTiles(map, s, s.mountainX, s.mountainY, isMineralGround));
    waters.push_back(areaTiles(map, s, s.lakeX, s.lakeY, model::isWater));
    const std::vector<size_t>& tiles = mountains.back();
    for (size_t k = 0; k < tiles.size(); ++k) {
      map.resources[tiles[k]] = kPattern[k % kPattern.size()];
      map.resourceAmounts[tiles[k]] = startMineralAmount(amount, k / kPattern.size());
    }
    const std::vector<size_t>& water = waters.back();
    for (size_t k = 0; k < water.size(); ++k) {
      map.resources[water[k]] = ResourceType::FISH;
      map.resourceAmounts[water[k]] = startFishAmount(amount, k);
    }
  }
  for (ResourceType mineral : kMinerals) raiseToRichest(map, mountains, mineral, kMaxAmount);
  raiseToRichest(map, waters, ResourceType::FISH, kMaxFish);
}

}  // namespace varnholt::generate
