#include "inspect/look.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "geometry/bitcount.h"
#include "geometry/gridturns.h"
#include "geometry/summedarea.h"
#include "inspect/fairness.h"

namespace varnholt::inspect {

namespace {

using model::Map;

// Offsets within the radius lie within this many tiles in x and y, also
// when turned by 45 degrees and rounded.
constexpr int64_t kReach = FAIRNESS_RADIUS;
constexpr int64_t kSide = 2 * kReach + 1;

// The classes compared between start spots, one bit each.
enum ClassBit : uint8_t { MOUNTAIN = 1, WATER = 2, TREE = 4, STONE = 8 };
constexpr int64_t kClasses = 4;

// The (offset, class) pairs of one spot as bits, bit (row * kSide + column)
// * kClasses + class for the offset (column - kReach, row - kReach).
constexpr size_t kWords = (kSide * kSide * kClasses + 63) / 64;
using Pattern = std::array<uint64_t, kWords>;

uint8_t classBits(const Map& map, size_t tile) {
  uint8_t bits = 0;
  if (model::isMountain(map.landscape[tile])) bits |= MOUNTAIN;
  if (model::isWater(map.landscape[tile])) bits |= WATER;
  if (isTree(map.objects[tile])) bits |= TREE;
  if (isStone(map.objects[tile])) bits |= STONE;
  return bits;
}

// A spot's patterns: under each of the 8 transforms, then from this index on
// under each after a turn by 45 degrees.
constexpr size_t kDiagonal = geometry::GRID_TURNS.size();
constexpr size_t kPatterns = 2 * kDiagonal;

// Sets the spot's kPatterns patterns, at result[0] on; they are large, so
// they are written in place rather than returned.
void setPatterns(const Map& map, const StartSpot& spot, Pattern* result) {
  const int64_t size = map.size;
  for (const TileOffset& offset : radiusOffsets()) {
    const int64_t x = spot.x + offset.dx;
    const int64_t y = spot.y + offset.dy;
    if (x < 0 || y < 0 || x >= size || y >= size) continue;
    const uint8_t bits = classBits(map, static_cast<size_t>(x + size * y));
    if (bits == 0) continue;
    const geometry::Offset straight = {offset.dx, offset.dy};
    const geometry::Offset diagonal = geometry::turnedEighth(straight);
    for (size_t t = 0; t < kPatterns; ++t) {
      const geometry::Offset o =
          geometry::GRID_TURNS[t % kDiagonal].apply(t < kDiagonal ? straight : diagonal);
      const auto base = static_cast<size_t>(((o.dy + kReach) * kSide + o.dx + kReach) * kClasses);
      for (int64_t c = 0; c < kClasses; ++c) {
        if ((bits >> c & 1) == 0) continue;
        result[t][(base + c) / 64] |= uint64_t{1} << ((base + c) % 64);
      }
    }
  }
}

int64_t count(const Pattern& p) {
  int64_t n = 0;
  for (uint64_t word : p) n += geometry::bitCount(word);
  return n;
}

int64_t shared(const Pattern& a, const Pattern& b) {
  int64_t n = 0;
  for (size_t w = 0; w < kWords; ++w) n += geometry::bitCount(a[w] & b[w]);
  return n;
}

CopyOverlap copyOverlap(const Map& map, const std::vector<StartSpot>& spots) {
  std::vector<Pattern> all(spots.size() * kPatterns);  // zeroed
  std::vector<int64_t> sizes(all.size());
  for (size_t s = 0; s < spots.size(); ++s) setPatterns(map, spots[s], &all[s * kPatterns]);
  for (size_t p = 0; p < all.size(); ++p) sizes[p] = count(all[p]);
  CopyOverlap result;
  if (spots.size() > 1) result.turns.second = result.diagonalTurns.second = 1;
  for (size_t a = 0; a < spots.size(); ++a) {
    for (size_t b = a + 1; b < spots.size(); ++b) {
      const size_t first = a * kPatterns;
      for (size_t t = 0; t < kPatterns; ++t) {
        BestPair& best = t < kDiagonal ? result.turns : result.diagonalTurns;
        const size_t second = b * kPatterns + t;
        // The overlap is at most the smaller set over the larger: skip the
        // count where that cannot beat the best so far.
        const int64_t smaller = std::min(sizes[first], sizes[second]);
        const int64_t larger = std::max(sizes[first], sizes[second]);
        if (larger == 0 || static_cast<double>(smaller) / larger <= best.overlap) continue;
        const int64_t both = shared(all[first], all[second]);
        const double overlap = static_cast<double>(both) / (sizes[first] + sizes[second] - both);
        if (overlap > best.overlap) best = {overlap, a, b};  // the first pair on a tie
      }
    }
  }
  return result;
}

// 1 on the tiles within the radius of any spot.
std::vector<uint8_t> nearMask(const Map& map, const std::vector<StartSpot>& spots) {
  const int64_t size = map.size;
  std::vector<uint8_t> near(map.landscape.size(), 0);
  for (const StartSpot& spot : spots) {
    for (const TileOffset& offset : radiusOffsets()) {
      const int64_t x = spot.x + offset.dx;
      const int64_t y = spot.y + offset.dy;
      if (x >= 0 && y >= 0 && x < size && y < size) near[static_cast<size_t>(x + size * y)] = 1;
    }
  }
  return near;
}

Roughness roughness(const Map& map, const std::vector<uint8_t>& near) {
  const int64_t size = map.size;
  std::array<int64_t, 2> steps{};
  std::array<int64_t, 2> pairs{};
  auto add = [&](size_t a, size_t b) {
    if (model::isWater(map.landscape[a]) || model::isWater(map.landscape[b])) return;
    const int64_t step = map.heights[a] > map.heights[b] ? map.heights[a] - map.heights[b]
                                                         : map.heights[b] - map.heights[a];
    steps[near[a]] += step;
    ++pairs[near[a]];
  };
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto tile = static_cast<size_t>(x + size * y);
      if (x + 1 < size) add(tile, tile + 1);
      if (y + 1 < size) add(tile, tile + static_cast<size_t>(size));
    }
  }
  Roughness r;
  r.nearPairs = pairs[1];
  r.elsewherePairs = pairs[0];
  if (pairs[1] > 0) r.near = static_cast<double>(steps[1]) / pairs[1];
  if (pairs[0] > 0) r.elsewhere = static_cast<double>(steps[0]) / pairs[0];
  if (r.elsewhere > 0) r.ratio = r.near / r.elsewhere;
  return r;
}

// Every offset within the radius but the centre, nearest first, ties in
// (dy, dx) order.
const std::vector<TileOffset>& nearestFirst() {
  static const std::vector<TileOffset> offsets = [] {
    std::vector<TileOffset> list;
    for (const TileOffset& offset : radiusOffsets()) {
      if (offset.dx != 0 || offset.dy != 0) list.push_back(offset);
    }
    std::stable_sort(list.begin(), list.end(), [](const TileOffset& a, const TileOffset& b) {
      return a.dx * a.dx + a.dy * a.dy < b.dx * b.dx + b.dy * b.dy;
    });
    return list;
  }();
  return offsets;
}

TreeGrid treeGrid(const Map& map, const std::vector<uint8_t>& near) {
  const int64_t size = map.size;
  TreeGrid grid;
  std::map<std::pair<int64_t, int64_t>, int64_t> offsets;  // (dy, dx) -> trees
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      const auto tile = static_cast<size_t>(x + size * y);
      if (near[tile] == 0 || !isTree(map.objects[tile])) continue;
      ++grid.trees;
      for (const TileOffset& offset : nearestFirst()) {
        const int64_t nx = x + offset.dx;
        const int64_t ny = y + offset.dy;
        if (nx < 0 || ny < 0 || nx >= size || ny >= size) continue;
        if (!isTree(map.objects[static_cast<size_t>(nx + size * ny)])) continue;
        ++offsets[{offset.dy, offset.dx}];
        break;
      }
    }
  }
  for (const auto& [offset, trees] : offsets) {
    if (trees <= grid.atCommonOffset) continue;
    grid.atCommonOffset = trees;
    grid.dy = offset.first;
    grid.dx = offset.second;
  }
  if (grid.trees > 0) grid.share = static_cast<double>(grid.atCommonOffset) / grid.trees;
  return grid;
}

LargeSpots largeSpots(const Map& map, const std::vector<StartSpot>& spots) {
  LargeSpots result;
  if (spots.empty()) return result;
  const geometry::SummedArea fits(map.size, buildingSpots(map, FARM_SPOT_KEY, spots));
  for (const StartSpot& spot : spots) {
    result.perStart.push_back(fits.circle(spot.x, spot.y, FAIRNESS_RADIUS));
  }
  const auto [min, max] = std::minmax_element(result.perStart.begin(), result.perStart.end());
  result.min = *min;
  result.max = *max;
  return result;
}

}  // namespace

Look measureLook(const Map& map) {
  const std::vector<StartSpot> spots = startSpots(map);
  const std::vector<uint8_t> near = nearMask(map, spots);
  return {copyOverlap(map, spots), roughness(map, near), treeGrid(map, near),
          largeSpots(map, spots)};
}

}  // namespace varnholt::inspect
