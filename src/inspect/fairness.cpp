#include "inspect/fairness.h"

#include <algorithm>
#include <optional>

#include "catalogue/footprints.h"
#include "geometry/summedarea.h"
#include "geometry/tiles.h"
#include "varnholt/model/teams.h"

namespace varnholt::inspect {

namespace {

using model::LandscapeType;
using model::Map;
using model::ResourceType;

std::vector<StartSpot> towerSpots(const Map& map) {
  std::vector<StartSpot> spots;
  for (const model::Building& building : map.buildings) {
    if (model::isTower(building.buildingType) && building.posX < map.size &&
        building.posY < map.size) {
      spots.push_back({building.party, building.posX, building.posY});
    }
  }
  return spots;
}

// Player number i is party i; parties are bytes, so at most 256 players count.
std::vector<StartSpot> playerSpots(const Map& map) {
  std::vector<StartSpot> spots;
  for (size_t i = 0; i < map.players.size() && i < 256; ++i) {
    const model::Player& player = map.players[i];
    if (player.startX < map.size && player.startY < map.size) {
      spots.push_back({static_cast<uint8_t>(i), player.startX, player.startY});
    }
  }
  return spots;
}

using model::isRiver;

// The column that sums a resource's amounts, if any.
std::optional<Column> amountColumn(ResourceType type) {
  switch (type) {
    case ResourceType::COAL: return Column::COAL;
    case ResourceType::IRONORE: return Column::IRON;
    case ResourceType::GOLDORE: return Column::GOLD;
    case ResourceType::GEMS: return Column::GEMS;
    case ResourceType::SULFUR: return Column::SULFUR;
    case ResourceType::FISH: return Column::FISH;
    default: return std::nullopt;
  }
}

// Whole-map facts every row looks up: goods pile totals by tile, tiles and
// settlers per party.
struct Tally {
  std::vector<int64_t> pileGoods;  // goods per tile, -1 where no pile stands
  std::array<int64_t, 256> claimed{};
  std::array<int64_t, 256> settlers{};
};

Tally tally(const Map& map) {
  Tally t;
  const uint64_t size = map.size;
  t.pileGoods.assign(map.party.size(), -1);
  for (const model::Stack& stack : map.stacks) {
    if (stack.posX >= size || stack.posY >= size) continue;
    int64_t& goods = t.pileGoods[stack.posX + size * stack.posY];
    goods = std::max<int64_t>(goods, 0) + stack.count;
  }
  for (uint8_t party : map.party) ++t.claimed[party];
  for (const model::Settler& settler : map.settlers) ++t.settlers[settler.party];
  return t;
}

// Tables of the building spots and of trees and stones, for the spot columns.
struct SpotTables {
  geometry::SummedArea small;
  geometry::SummedArea medium;
  geometry::SummedArea large;
  std::vector<int32_t> smallFits;
  geometry::SummedArea stones;
  geometry::SummedArea trees;
};

SpotTables spotTables(const Map& map, const std::vector<StartSpot>& spots) {
  const int64_t size = map.size;
  std::vector<int32_t> smallFits = buildingSpots(map, SMALL_SPOT_KEY, spots);
  return {geometry::SummedArea(size, smallFits),
          geometry::SummedArea(size, buildingSpots(map, MEDIUM_SPOT_KEY, spots)),
          geometry::SummedArea(size, buildingSpots(map, LARGE_SPOT_KEY, spots)),
          smallFits,
          geometry::SummedArea::of(size, [&](int64_t i) { return isStone(map.objects[i]); }),
          geometry::SummedArea::of(size, [&](int64_t i) { return isTree(map.objects[i]); })};
}

void addSpotColumns(FairnessRow& r, const SpotTables& tables, int64_t size) {
  auto set = [&r](Column column, int64_t value) { r.values[static_cast<size_t>(column)] = value; };
  const int64_t cx = r.spot.x;
  const int64_t cy = r.spot.y;
  set(Column::SMALL, tables.small.circle(cx, cy, FAIRNESS_RADIUS));
  set(Column::MEDIUM, tables.medium.circle(cx, cy, FAIRNESS_RADIUS));
  set(Column::LARGE, tables.large.circle(cx, cy, FAIRNESS_RADIUS));
  int64_t stonecutter = 0;
  int64_t woodcutter = 0;
  for (const TileOffset& offset : radiusOffsets()) {
    const int64_t x = cx + offset.dx;
    const int64_t y = cy + offset.dy;
    if (x < 0 || y < 0 || x >= size || y >= size) continue;
    if (tables.smallFits[static_cast<size_t>(x + size * y)] == 0) continue;
    if (tables.stones.circle(x, y, SUPPLY_REACH) > 0) ++stonecutter;
    if (tables.trees.circle(x, y, SUPPLY_REACH) > 0) ++woodcutter;
  }
  set(Column::STONECUTTER, stonecutter);
  set(Column::WOODCUTTER, woodcutter);
}

// Truncated distance from each spot to the nearest other one.
void addRivalColumn(std::vector<FairnessRow>& rows) {
  for (FairnessRow& r : rows) {
    int64_t nearest = 0;
    for (const FairnessRow& other : rows) {
      if (&other == &r) continue;
      const int64_t d = distance(r.spot.x, r.spot.y, other.spot.x, other.spot.y);
      if (nearest == 0 || d < nearest) nearest = d;
    }
    r.values[static_cast<size_t>(Column::RIVAL)] = nearest;
  }
}

FairnessRow row(const Map& map, const Tally& t, const StartSpot& spot) {
  FairnessRow r;
  r.spot = spot;
  auto add = [&r](Column column, int64_t amount) {
    r.values[static_cast<size_t>(column)] += amount;
  };
  add(Column::CLAIMED, t.claimed[spot.party]);
  add(Column::SETTLERS, t.settlers[spot.party]);
  const int64_t size = map.size;
  for (const TileOffset& offset : radiusOffsets()) {
    const int64_t x = spot.x + offset.dx;
    const int64_t y = spot.y + offset.dy;
    if (x < 0 || y < 0 || x >= size || y >= size) continue;
    const auto i = static_cast<size_t>(x + size * y);
    const LandscapeType ground = map.landscape[i];
    const model::ObjectType object = map.objects[i];
    const bool pile = t.pileGoods[i] >= 0;
    if (isBuildableGround(ground) && object == model::ObjectType::NO_OBJECT &&
        !isBlocked(map.accessible[i]) && !pile) {
      add(Column::BUILDABLE, 1);
    }
    if (isTree(object)) add(Column::TREES, 1);
    if (isStone(object)) add(Column::STONES, 1);
    if (isMountain(ground)) add(Column::MOUNTAIN, 1);
    if (isWater(ground)) add(Column::WATER, 1);
    if (const auto column = amountColumn(map.resources[i])) add(*column, map.resourceAmounts[i]);
    if (pile) {
      add(Column::PILES, 1);
      add(Column::GOODS, t.pileGoods[i]);
    }
  }
  return r;
}

}  // namespace

const std::vector<TileOffset>& radiusOffsets() {
  static const std::vector<TileOffset> offsets = [] {
    std::vector<TileOffset> list;
    for (int64_t dy = -FAIRNESS_RADIUS; dy <= FAIRNESS_RADIUS; ++dy) {
      for (int64_t dx = -FAIRNESS_RADIUS; dx <= FAIRNESS_RADIUS; ++dx) {
        if (distance(0, 0, dx, dy) < FAIRNESS_RADIUS) list.push_back({dx, dy});
      }
    }
    return list;
  }();
  return offsets;
}

bool isBuildableGround(LandscapeType type) {
  return !isWater(type) && !isRiver(type) && !isMountain(type) && !isSnow(type) && !isMoor(type);
}

std::vector<int32_t> buildingSpots(const Map& map, const char* key,
                                   const std::vector<StartSpot>& spots) {
  const int64_t size = map.size;
  std::vector<bool> pile(map.landscape.size(), false);
  for (const model::Stack& stack : map.stacks) {
    if (stack.posX < size && stack.posY < size) pile[stack.posX + size * stack.posY] = true;
  }
  const geometry::SummedArea bad = geometry::SummedArea::of(size, [&](int64_t i) {
    const auto tile = static_cast<size_t>(i);
    return map.landscape[tile] != LandscapeType::GRASS ||
           map.objects[tile] != model::ObjectType::NO_OBJECT ||
           isBlocked(map.accessible[tile]) || pile[tile];
  });
  std::vector<std::array<int64_t, 2>> centres;
  for (const StartSpot& spot : spots) centres.push_back({spot.x, spot.y});
  return geometry::footprintFits(bad, geometry::FootprintRows(catalogue::buildingMeta(key)),
                                 centres, FAIRNESS_RADIUS);
}

std::vector<StartSpot> startSpots(const Map& map) {
  std::vector<StartSpot> towers = towerSpots(map);
  return towers.empty() ? playerSpots(map) : towers;
}

Fairness fairness(const Map& map) {
  Fairness result;
  std::vector<StartSpot> spots = towerSpots(map);
  result.fromTowers = !spots.empty();
  result.radius = FAIRNESS_RADIUS;
  if (!result.fromTowers) spots = playerSpots(map);
  const Tally t = tally(map);
  for (const StartSpot& spot : spots) {
    result.rows.push_back(row(map, t, spot));
    if (spot.party < map.players.size()) {
      result.rows.back().team = model::teamInName(map.players[spot.party].name);
    }
  }
  if (!spots.empty()) {
    const SpotTables tables = spotTables(map, spots);
    for (FairnessRow& r : result.rows) addSpotColumns(r, tables, map.size);
  }
  addRivalColumn(result.rows);
  for (size_t c = 0; c < COLUMN_COUNT && !result.rows.empty(); ++c) {
    Spread& spread = result.spread[c];
    spread.min = spread.max = result.rows.front().values[c];
    for (const FairnessRow& r : result.rows) {
      spread.min = std::min(spread.min, r.values[c]);
      spread.max = std::max(spread.max, r.values[c]);
    }
  }
  return result;
}

}  // namespace varnholt::inspect
