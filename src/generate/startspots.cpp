#include "generate/startspots.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "catalogue/footprints.h"
#include "catalogue/mapedit.h"
#include "geometry/bitcount.h"
#include "geometry/circle.h"
#include "generate/startgoods.h"
#include "generate/symmetry.h"
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

// The columns of one row of the window, column c at bit c % 64 of word
// c / 64: the window is at most 128 tiles wide.
class RowBits {
 public:
  void set(int64_t column) {
    words_[static_cast<size_t>(column / 64)] |= uint64_t{1} << (column % 64);
  }

  // Columns from first up to but not including last.
  static RowBits columns(int64_t first, int64_t last) {
    RowBits bits;
    for (int64_t c = first; c < last; ++c) bits.set(c);
    return bits;
  }

  // Column c of the result is column c + n of these (clear where c + n lies
  // outside the row); n may be negative.
  RowBits shifted(int64_t n) const {
    RowBits r;
    const uint64_t low = words_[0];
    const uint64_t high = words_[1];
    if (n >= 128 || n <= -128) return r;
    if (n >= 64) {
      r.words_[0] = high >> (n - 64);
    } else if (n > 0) {
      r.words_[0] = (low >> n) | (high << (64 - n));
      r.words_[1] = high >> n;
    } else if (n == 0) {
      r = *this;
    } else if (n > -64) {
      r.words_[0] = low << -n;
      r.words_[1] = (high << -n) | (low >> (64 + n));
    } else {
      r.words_[1] = low << (-n - 64);
    }
    return r;
  }

  RowBits operator&(const RowBits& other) const {
    RowBits r;
    r.words_ = {words_[0] & other.words_[0], words_[1] & other.words_[1]};
    return r;
  }

  int64_t count() const { return geometry::bitCount(words_[0]) + geometry::bitCount(words_[1]); }

 private:
  std::array<uint64_t, 2> words_{};
};

static_assert(2 * START_LEVEL_RADIUS + 1 <= 128);

}  // namespace


StartRoom startRoom(const model::Map& map, const FairStart& start, int64_t piles) {
  return countRoom(startTaken(map, start, piles));
}

std::vector<uint8_t> mirroredWindow(const std::vector<uint8_t>& taken, int64_t element) {
  const int64_t side = 2 * START_LEVEL_RADIUS + 1;
  std::vector<uint8_t> mirrored(taken.size());
  for (int64_t y = 0; y < side; ++y) {
    for (int64_t x = 0; x < side; ++x) {
      const Tile from = image(element, side, {x, y});
      mirrored[static_cast<size_t>(x + side * y)] =
          taken[static_cast<size_t>(from.x + side * from.y)];
    }
  }
  return mirrored;
}

std::vector<uint8_t> startTaken(const model::Map& map, const FairStart& s, int64_t piles) {
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
  return taken;
}

StartRoom countRoom(const std::vector<uint8_t>& taken) {
  const int64_t reach = START_LEVEL_RADIUS;
  const int64_t side = 2 * reach + 1;
  static const std::array<Footprint, ROOM_FOOTPRINTS> footprints = {
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[0])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[1])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[2])),
      footprintOf(catalogue::buildingMeta(ROOM_KEYS[3]))};
  static const int64_t widest = [] {
    int64_t most = 1;
    for (const Footprint& footprint : footprints) {
      for (const Run& run : footprint.runs) most = std::max(most, run.right - run.left + 1);
    }
    return most;
  }();
  // Per row of the window and run width w, the columns where w free tiles
  // begin: freeFrom[(w - 1) * side + row]. All of a row's columns are
  // tested at once, a machine word at a time.
  std::vector<RowBits> freeFrom(static_cast<size_t>(widest * side));
  for (int64_t wy = 0; wy < side; ++wy) {
    RowBits free;
    for (int64_t wx = 0; wx < side; ++wx) {
      if (taken[static_cast<size_t>(wx + side * wy)] == 0) free.set(wx);
    }
    freeFrom[static_cast<size_t>(wy)] = free;
    for (int64_t w = 2; w <= widest; ++w) {
      const RowBits& narrower = freeFrom[static_cast<size_t>((w - 2) * side + wy)];
      freeFrom[static_cast<size_t>((w - 1) * side + wy)] = narrower & free.shifted(w - 1);
    }
  }
  // The columns of the circle per row, dy + START_RADIUS - 1.
  static const std::array<RowBits, 2 * START_RADIUS - 1> circleRows = [] {
    std::array<RowBits, 2 * START_RADIUS - 1> rows;
    for (int64_t dy = 1 - START_RADIUS; dy < START_RADIUS; ++dy) {
      const int64_t half = geometry::circleHalfWidth(START_RADIUS, dy);
      rows[static_cast<size_t>(dy + START_RADIUS - 1)] =
          RowBits::columns(START_LEVEL_RADIUS - half, START_LEVEL_RADIUS + half + 1);
    }
    return rows;
  }();
  StartRoom room;
  for (size_t f = 0; f < ROOM_FOOTPRINTS; ++f) {
    const Footprint& footprint = footprints[f];
    // Every footprint reaches less far than the window's margin beyond the
    // radius, so no cell of a spot in the radius leaves the window.
    for (int64_t dy = 1 - START_RADIUS; dy < START_RADIUS; ++dy) {
      // The columns where every run of the footprint finds its cells free.
      RowBits fits = RowBits::columns(0, side);
      for (const Run& run : footprint.runs) {
        const int64_t width = run.right - run.left + 1;
        fits = fits & freeFrom[static_cast<size_t>((width - 1) * side + reach + dy + run.dy)]
                          .shifted(run.left);
      }
      room.spots[f] += (fits & circleRows[static_cast<size_t>(dy + START_RADIUS - 1)]).count();
    }
  }
  return room;
}

}  // namespace varnholt::generate
