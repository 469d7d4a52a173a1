#include "generate/startspots.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "geometry/circle.h"
#include "generate/startgoods.h"
#include "varnholt/model/landscapetype.h"
#include "varnholt/model/objecttype.h"

namespace varnholt::generate {

namespace {

// A footprint as runs of cells on its rows, with the box around them.
struct Run {
  int64_t dy, left, right;
};
struct Footprint {
  std::vector<Run> runs;
  int64_t left = 0, top = 0, right = 0, bottom = 0;
};

Footprint footprintOf(const model::BuildingMeta& meta) {
  std::map<int64_t, std::vector<int64_t>> rows;
  for (const model::BuildingMetaBlock& cell : meta.blocks) rows[cell.yOffset].push_back(cell.xOffset);
  Footprint footprint;
  std::vector<Run>& runs = footprint.runs;
  for (auto& [dy, columns] : rows) {
    std::sort(columns.begin(), columns.end());
    for (size_t i = 0; i < columns.size();) {
      size_t j = i;
      while (j + 1 < columns.size() && columns[j + 1] == columns[j] + 1) ++j;
      runs.push_back({dy, columns[i], columns[j]});
      i = j + 1;
    }
  }
  for (const Run& run : runs) {
    footprint.left = std::min(footprint.left, run.left);
    footprint.right = std::max(footprint.right, run.right);
    footprint.top = std::min(footprint.top, run.dy);
    footprint.bottom = std::max(footprint.bottom, run.dy);
  }
  return footprint;
}

}  // namespace


StartRoom startRoom(const model::Map& map, const FairStart& s, int64_t piles) {
  // A window around the tower wide enough for every footprint of a spot in
  // the area; tiles off the map count as taken.
  const int64_t reach = START_LEVEL_RADIUS;
  const int64_t side = 2 * reach + 1;
  const int64_t size = map.size;
  // The tower's cells, which it blocks when it is placed.
  static const model::BuildingMeta& tower = catalogue::buildingMeta(catalogue::TOWER_META_KEY);
  std::vector<uint8_t> taken(static_cast<size_t>(side * side), 0);
  const auto inWindow = [&](int64_t tile) {
    return static_cast<size_t>(tile % size - s.x + reach + side * (tile / size - s.y + reach));
  };
  for (const model::BuildingMetaBlock& cell : tower.blocks) {
    taken[inWindow(s.x + cell.xOffset + size * (s.y + cell.yOffset))] = 1;
  }
  // The piles: the empty tiles nearest the supply centre, one each.
  model::Building building;
  building.posX = static_cast<uint16_t>(s.x);
  building.posY = static_cast<uint16_t>(s.y);
  int64_t laid = 0;
  for (int64_t tile : geometry::Circle(size, size, supplyCentre(map, building), SUPPLY_RADIUS)) {
    if (laid == piles) break;
    if (taken[inWindow(tile)] != 0 || !model::isEmpty(map, tile)) continue;
    taken[inWindow(tile)] = 1;
    ++laid;
  }
  for (int64_t wy = 0; wy < side; ++wy) {
    for (int64_t wx = 0; wx < side; ++wx) {
      const int64_t x = s.x - reach + wx;
      const int64_t y = s.y - reach + wy;
      uint8_t& t = taken[static_cast<size_t>(wx + side * wy)];
      if (x < 0 || y < 0 || x >= size || y >= size) {
        t = 1;
        continue;
      }
      const auto tile = static_cast<size_t>(x + size * y);
      t |= map.landscape[tile] != model::LandscapeType::GRASS ||
                   map.objects[tile] != model::ObjectType::NO_OBJECT ||
                   model::isBlocked(map.accessible[tile])
               ? 1
               : 0;
    }
  }
  return countRoom(taken);
}

StartRoom countRoom(const std::vector<uint8_t>& taken) {
  const int64_t reach = START_LEVEL_RADIUS;
  const int64_t side = 2 * reach + 1;
  // Per row of the window, the column of the nearest taken tile at or to
  // the right of each column (side where there is none): a run of cells
  // fits where that lies beyond its right end.
  std::vector<int32_t> nextTaken(static_cast<size_t>(side * side));
  std::vector<int32_t> takenSums(static_cast<size_t>((side + 1) * (side + 1)), 0);
  for (int64_t wy = 0; wy < side; ++wy) {
    auto next = static_cast<int32_t>(side);
    for (int64_t wx = side - 1; wx >= 0; --wx) {
      const auto i = static_cast<size_t>(wx + side * wy);
      const bool bad = taken[i] != 0;
      if (bad) next = static_cast<int32_t>(wx);
      nextTaken[i] = next;
      takenSums[static_cast<size_t>(wx + 1 + (side + 1) * (wy + 1))] = bad ? 1 : 0;
    }
  }
  // Running sums over the window, so a footprint's whole box is read at once.
  for (int64_t wy = 1; wy <= side; ++wy) {
    for (int64_t wx = 1; wx <= side; ++wx) {
      const auto i = static_cast<size_t>(wx + (side + 1) * wy);
      takenSums[i] += takenSums[i - 1] + takenSums[i - static_cast<size_t>(side + 1)] -
                      takenSums[i - static_cast<size_t>(side + 2)];
    }
  }
  static const std::array<Footprint, ROOM_FOOTPRINTS> footprints = {
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[0])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[1])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[2])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[3]))};
  // The circle's half width per row, dy + START_RADIUS - 1.
  static const std::array<int64_t, 2 * START_RADIUS - 1> halves = [] {
    std::array<int64_t, 2 * START_RADIUS - 1> rows{};
    for (int64_t dy = 1 - START_RADIUS; dy < START_RADIUS; ++dy) {
      rows[static_cast<size_t>(dy + START_RADIUS - 1)] = geometry::circleHalfWidth(START_RADIUS, dy);
    }
    return rows;
  }();
  StartRoom room;
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    const Footprint& footprint = footprints[f];
    // Every footprint reaches less far than the window's margin beyond the
    // radius, so no cell of a spot in the radius leaves the window.
    for (int64_t dy = 1 - START_RADIUS; dy < START_RADIUS; ++dy) {
      const int64_t half = halves[static_cast<size_t>(dy + START_RADIUS - 1)];
      const int64_t top = reach + dy + footprint.top;
      const int64_t bottom = reach + dy + footprint.bottom + 1;
      for (int64_t dx = -half; dx <= half; ++dx) {
        const int64_t left = reach + dx + footprint.left;
        const int64_t right = reach + dx + footprint.right + 1;
        // A free box holds every cell; otherwise the cells are read run by run.
        const int32_t* upper = &takenSums[static_cast<size_t>((side + 1) * top)];
        const int32_t* lower = &takenSums[static_cast<size_t>((side + 1) * bottom)];
        if (lower[right] - lower[left] - upper[right] + upper[left] == 0) {
          ++room.spots[f];
          continue;
        }
        bool fits = true;
        for (const Run& run : footprint.runs) {
          const int64_t row = side * (reach + dy + run.dy) + reach + dx;
          if (nextTaken[static_cast<size_t>(row + run.left)] <= reach + dx + run.right) {
            fits = false;
            break;
          }
        }
        room.spots[f] += fits ? 1 : 0;
      }
    }
  }
  return room;
}

}  // namespace varnholt::generate
