#include "generate/amounts.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "catalogue/mapedit.h"
#include "generate/climatefields.h"
#include "geometry/steps.h"
#include "model/groundrules.h"

namespace varnholt::generate {

using model::LandscapeType;
using model::Map;
using model::ObjectType;
using model::ResourceAmount;

namespace {

// By level (low, normal, high), the amounts cycled over a start area's
// mineral tiles (4.25, 8 and 13.5 on average) and its lake's fish (2, 4 and
// 7.25); high leaves a tile room to be raised to the richest start's total.
using Cycle = std::array<uint8_t, 4>;
constexpr std::array<Cycle, 3> kStartMinerals = {{{4, 4, 4, 5}, {7, 8, 9, 8}, {13, 14, 13, 14}}};
constexpr std::array<Cycle, 3> kStartFish = {{{2, 2, 2, 2}, {3, 4, 5, 4}, {7, 7, 7, 8}}};

// The most the resource stage lays on a tile, and what high adds.
constexpr uint8_t kMostMineral = 15;
constexpr uint8_t kMostFish = 8;
constexpr uint8_t kMoreMineral = 8;
constexpr uint8_t kMoreFish = 5;
// Low keeps this share of 100 of the trees, and of the stones, in every
// block of kThinBlock x kThinBlock tiles.
constexpr int64_t kLowKeepsPercent = 40;
constexpr int64_t kThinBlock = 32;
// High adds this many tenths of the objects already there: the start areas
// get exactly 1.6 times theirs, so the rest of the map must get more for the
// whole map to stay above 1.6 where its grass is scarce.
constexpr int64_t kHighAddsTenths = 10;
// New objects stand within these reaches (in x and y) of an old one of their
// kind, tried in turn until enough stand.
constexpr std::array<int64_t, 4> kTreeReaches = {3, 6, 12, 48};
constexpr std::array<int64_t, 4> kStoneReaches = {6, 12, 24, 48};
constexpr size_t kBuckets = 64;

size_t level(ResourceAmount amount) { return static_cast<size_t>(amount); }

void removeObject(Map& map, size_t i) {
  map.objects[i] = ObjectType::NO_OBJECT;
  map.accessible[i] = model::AccessibleType::EMPTY;
}

// Keeps kLowKeepsPercent of the objects that pass kind, block by block in
// row order, the ones of lowest hash in each block; the share left over
// from rounding is carried into the next block, so the whole map keeps its
// share to one object and every block to one. A chance per object would let
// a part of the map keep far more than its share, and a symmetric map
// copies one part over the others.
template <typename Kind>
void thinOut(Map& map, uint64_t salt, Kind kind) {
  const int64_t size = map.size;
  int64_t seen = 0;
  int64_t kept = 0;
  std::vector<std::pair<uint64_t, size_t>> block;
  for (int64_t top = 0; top < size; top += kThinBlock) {
    for (int64_t left = 0; left < size; left += kThinBlock) {
      block.clear();
      for (int64_t y = top; y < std::min(size, top + kThinBlock); ++y) {
        for (int64_t x = left; x < std::min(size, left + kThinBlock); ++x) {
          const auto i = static_cast<size_t>(x + size * y);
          if (kind(map.objects[i])) block.emplace_back(tileHash(salt, i), i);
        }
      }
      std::sort(block.begin(), block.end());
      seen += static_cast<int64_t>(block.size());
      const int64_t keep = (seen * kLowKeepsPercent + 50) / 100 - kept;
      kept += keep;
      for (size_t k = static_cast<size_t>(keep); k < block.size(); ++k) {
        removeObject(map, block[k].second);
      }
    }
  }
}

// True when every tile within clearance rows and columns of tile i is empty.
bool freeWithin(const Map& map, size_t i, int64_t clearance) {
  const int64_t size = map.size;
  const int64_t x = static_cast<int64_t>(i) % size;
  const int64_t y = static_cast<int64_t>(i) / size;
  for (int64_t ny = std::max<int64_t>(0, y - clearance); ny <= std::min(size - 1, y + clearance);
       ++ny) {
    for (int64_t nx = std::max<int64_t>(0, x - clearance); nx <= std::min(size - 1, x + clearance);
         ++nx) {
      if (!model::isEmptyOnMap(map, static_cast<size_t>(nx + size * ny))) return false;
    }
  }
  return true;
}

// True when a stone stands within the stones' clearance of tile i.
bool nearStone(const Map& map, size_t i) {
  const int64_t size = map.size;
  const int64_t x = static_cast<int64_t>(i) % size;
  const int64_t y = static_cast<int64_t>(i) / size;
  constexpr int64_t c = model::STONE_CLEARANCE;
  for (int64_t ny = std::max<int64_t>(0, y - c); ny <= std::min(size - 1, y + c); ++ny) {
    for (int64_t nx = std::max<int64_t>(0, x - c); nx <= std::min(size - 1, x + c); ++nx) {
      if (model::isStone(map.objects[static_cast<size_t>(nx + size * ny)])) return true;
    }
  }
  return false;
}

struct Growth {
  bool (*is)(ObjectType);
  bool (*ground)(LandscapeType);
  int64_t clearance;  // free ground around a new one
  const std::array<int64_t, 4>* reaches;
};

// Plants objects of the growth's kinds beyond the start areas, next to the
// ones there, until twice as many stand; the tiles are taken in an order
// spread by their hashes, the kinds picked by the hash too.
template <size_t N>
void grow(Map& map, const std::vector<int32_t>& distance, uint64_t salt, const Growth& growth,
          const std::array<ObjectType, N>& kinds) {
  const int64_t size = map.size;
  std::vector<uint8_t> old(map.objects.size(), 0);
  int64_t there = 0;
  for (size_t i = 0; i < old.size(); ++i) {
    if (distance[i] < START_LEVEL_RADIUS || !growth.is(map.objects[i])) continue;
    old[i] = 1;
    ++there;
  }
  int64_t missing = there * kHighAddsTenths / 10;
  for (int64_t reach : *growth.reaches) {
    if (missing <= 0) break;
    const std::vector<uint8_t> steps =
        geometry::stepsTo(static_cast<uint32_t>(size), old, static_cast<uint8_t>(reach + 1));
    // The tiles in reach in kBuckets buckets by their hash, each bucket in
    // index order: taken bucket by bucket, they are spread over the map.
    std::vector<std::vector<size_t>> buckets(kBuckets);
    for (size_t i = 0; i < old.size(); ++i) {
      if (steps[i] > reach || distance[i] < START_LEVEL_RADIUS) continue;
      if (growth.ground(map.landscape[i])) buckets[tileHash(salt, i) % kBuckets].push_back(i);
    }
    for (const std::vector<size_t>& bucket : buckets) {
      for (size_t i : bucket) {
        if (missing <= 0) break;
        if (!freeWithin(map, i, growth.clearance) || nearStone(map, i)) continue;
        catalogue::setObject(map, static_cast<int64_t>(i), kinds[(tileHash(salt, i) >> 32) % N]);
        --missing;
      }
    }
  }
}

// High: the +8 of a tile stops at 15, so deposits rich already grow by less
// than 1.6 times. Where a mineral's total beyond the start areas has not
// reached kSpreadTarget times what it was, its deposits spread onto the
// mountain tiles without a mineral next to them (8 neighbours, taken in the
// order of their hashes), each holding the most a tile holds, until it has.
// The target keeps a margin, so each part a symmetric map copies gets its
// share too.
constexpr double kSpreadTarget = 1.75;
constexpr std::array<model::ResourceType, 5> kMinerals = {
    model::ResourceType::COAL, model::ResourceType::IRONORE, model::ResourceType::GOLDORE,
    model::ResourceType::GEMS, model::ResourceType::SULFUR};

std::array<int64_t, kMinerals.size()> mineralTotals(const Map& map,
                                                     const std::vector<int32_t>& distance) {
  std::array<int64_t, kMinerals.size()> totals{};
  for (size_t i = 0; i < map.resources.size(); ++i) {
    if (distance[i] < START_RADIUS || !model::isMineralGround(map.landscape[i])) continue;
    for (size_t k = 0; k < kMinerals.size(); ++k) {
      if (map.resources[i] == kMinerals[k]) totals[k] += map.resourceAmounts[i];
    }
  }
  return totals;
}

void spreadMinerals(Map& map, const std::vector<int32_t>& distance, uint64_t salt,
                    const std::array<int64_t, kMinerals.size()>& before) {
  const int64_t size = map.size;
  std::array<int64_t, kMinerals.size()> now = mineralTotals(map, distance);
  std::vector<std::pair<uint64_t, size_t>> order;
  for (size_t i = 0; i < map.resources.size(); ++i) {
    if (distance[i] >= START_RADIUS && model::isMineralGround(map.landscape[i]) &&
        map.resourceAmounts[i] == 0) {
      order.emplace_back(tileHash(salt, i), i);
    }
  }
  std::sort(order.begin(), order.end());
  for (size_t k = 0; k < kMinerals.size(); ++k) {
    const auto wanted = static_cast<int64_t>(kSpreadTarget * static_cast<double>(before[k]));
    for (const auto& [hash, i] : order) {
      if (now[k] >= wanted) break;
      if (map.resourceAmounts[i] != 0) continue;
      const int64_t x = static_cast<int64_t>(i) % size;
      const int64_t y = static_cast<int64_t>(i) / size;
      bool beside = false;
      for (int64_t ny = std::max<int64_t>(0, y - 1); ny <= std::min(size - 1, y + 1); ++ny) {
        for (int64_t nx = std::max<int64_t>(0, x - 1); nx <= std::min(size - 1, x + 1); ++nx) {
          const auto n = static_cast<size_t>(nx + size * ny);
          beside = beside || (map.resources[n] == kMinerals[k] && map.resourceAmounts[n] > 0);
        }
      }
      if (!beside) continue;
      map.resources[i] = kMinerals[k];
      map.resourceAmounts[i] = kMostMineral;
      now[k] += kMostMineral;
    }
  }
}

bool isGrass(LandscapeType t) { return t == LandscapeType::GRASS; }
bool isStoneGround(LandscapeType t) { return t == LandscapeType::GRASS || model::isDesert(t); }

}  // namespace

StartObjects startObjects(const model::MapStyle& style) {
  constexpr std::array<StartObjects, 3> kObjects = {{{60, 15}, {100, 25}, {160, 40}}};
  StartObjects objects = kObjects[level(style.resources)];
  objects.palms = style.climate == model::ClimateStyle::DESERT;
  return objects;
}

uint8_t startMineralAmount(ResourceAmount amount, size_t place) {
  const Cycle& cycle = kStartMinerals[level(amount)];
  return cycle[place % cycle.size()];
}

uint8_t startFishAmount(ResourceAmount amount, size_t place) {
  const Cycle& cycle = kStartFish[level(amount)];
  return cycle[place % cycle.size()];
}

void scaleMapAmounts(Map& map, const Random& random, const std::vector<FairStart>& starts,
                     ResourceAmount amount) {
  if (amount == ResourceAmount::NORMAL) return;
  const bool high = amount == ResourceAmount::HIGH;
  const std::vector<int32_t> distance =
      startDistances(map, starts, static_cast<int32_t>(START_LEVEL_RADIUS));
  const std::array<int64_t, kMinerals.size()> before = mineralTotals(map, distance);
  for (size_t i = 0; i < map.resources.size(); ++i) {
    uint8_t& a = map.resourceAmounts[i];
    if (a == 0) continue;
    const bool fish = model::isWater(map.landscape[i]);
    if (!fish && !model::isMountain(map.landscape[i])) continue;
    const uint8_t most = fish ? kMostFish : kMostMineral;
    const uint8_t more = fish ? kMoreFish : kMoreMineral;
    a = high ? std::max(a, static_cast<uint8_t>(std::min<int>(most, a + more))) : a / 2;
  }
  const uint64_t salt = random.state.s0;
  if (!high) {
    thinOut(map, salt, model::isTree);
    thinOut(map, salt, model::isStone);
    return;
  }
  spreadMinerals(map, distance, salt, before);
  grow(map, distance, salt, {model::isTree, isGrass, 1, &kTreeReaches}, model::TREE_TYPES);
  grow(map, distance, salt,
       {model::isStone, isStoneGround, model::STONE_CLEARANCE, &kStoneReaches},
       model::STONE_TYPES);
}

}  // namespace varnholt::generate
