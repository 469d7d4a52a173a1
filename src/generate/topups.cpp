// balanceStartMinerals: the minerals and fish of every start area, laid
// out and raised until the starts hold the same amounts.
#include <algorithm>
#include <array>
#include <vector>

#include "generate/amounts.h"
#include "generate/fairstages.h"
#include "geometry/circle.h"
#include "model/groundrules.h"
#include "varnholt/model/landscapetype.h"
#include "varnholt/model/resourcetype.h"

namespace varnholt::generate {

using geometry::Circle;

using model::LandscapeType;
using model::Map;
using model::ResourceType;

namespace {

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

using model::isMineralGround;

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

}  // namespace

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
