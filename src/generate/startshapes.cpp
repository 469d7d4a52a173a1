#include "generate/startshapes.h"

#include <algorithm>
#include <cmath>

#include "generate/compass.h"
#include "generate/valuenoise.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Mountains and lakes keep this far from the tower (room for its goods and
// first houses) and inside this distance (their slopes and borders stay in
// the start area).
constexpr double kInnerReach = 20;
constexpr double kOuterReach = 36;
// Their seeds lie between these distances from the tower, facing the
// planned direction or a quarter turn from it, turned from that by up to
// kTurn of the perpendicular.
constexpr double kSeedNear = 24;
constexpr double kSeedFar = 29;
constexpr double kTurn = 1.1;
// The share of starts whose mountain stands in two pieces.
constexpr double kPairShare = 0.7;
// The outline: distance from the seed over kSpread plus the noise, whose
// lobes are about kLobe tiles across.
constexpr double kSpread = 7;
constexpr double kLobe = 9;
// Lakes keep rounder outlines, so their sand shore leaves open water.
constexpr double kMountainNoise = 0.9;
constexpr double kLakeNoise = 0.5;

// A number in 0..1 from the key and a salt.
double fraction(uint64_t key, uint64_t salt) {
  return static_cast<double>(mixKey(key, salt) >> 11) / 9007199254740992.0;
}

int64_t squared(int64_t dx, int64_t dy) { return dx * dx + dy * dy; }

// A seed tile: the direction (dx, dy) turned by turn of its perpendicular,
// at length from the tower.
Tile seedTile(const FairStart& s, int64_t dx, int64_t dy, double turn, double length) {
  const double vx = static_cast<double>(dx) - turn * static_cast<double>(dy);
  const double vy = static_cast<double>(dy) + turn * static_cast<double>(dx);
  const double norm = std::sqrt(vx * vx + vy * vy);
  if (norm == 0) return {s.x, s.y};
  return {s.x + std::lround(vx / norm * length), s.y + std::lround(vy / norm * length)};
}

// The direction (dx, dy) as it is for half the keys' fractions u, a quarter
// turn one way or the other for a quarter each.
Tile quarterTurned(int64_t dx, int64_t dy, double u) {
  if (u < 0.5) return {dx, dy};
  return u < 0.75 ? Tile{-dy, dx} : Tile{dy, -dx};
}

}  // namespace

uint64_t startShapeKey(const Map& map, const FairStart& s, size_t index, uint64_t variant) {
  const int64_t size = map.size;
  uint64_t key = mixKey(index, static_cast<uint64_t>(s.x + size * s.y));
  for (int64_t y = s.y - 4; y <= s.y + 4; ++y) {
    for (int64_t x = s.x - 4; x <= s.x + 4; ++x) {
      if (x >= 0 && y >= 0 && x < size && y < size) {
        key = mixKey(key, map.heights[static_cast<size_t>(x + size * y)]);
      }
    }
  }
  return mixKey(key, variant);
}

StartShape planStartShape(const Map& map, const FairStart& s, uint64_t key) {
  const int64_t size = map.size;
  StartShape shape;
  shape.window = {s.x - START_LEVEL_RADIUS, s.y - START_LEVEL_RADIUS, 2 * START_LEVEL_RADIUS + 1};
  const Window& w = shape.window;
  shape.key = key;
  const ValueNoise outline(mixKey(key, 1), kLobe);
  const auto inReach = [&](int64_t tile) {
    const int64_t d2 = squared(tile % size - s.x, tile / size - s.y);
    return d2 >= kInnerReach * kInnerReach && d2 < kOuterReach * kOuterReach;
  };
  const auto grow = [&](Tile seed, int64_t count, const auto& allowed, double weight) {
    return growRegion(
        size, w, seed.x + size * seed.y, count, allowed, [&](int64_t tile) {
          const int64_t x = tile % size;
          const int64_t y = tile / size;
          const double d = std::sqrt(static_cast<double>(squared(x - seed.x, y - seed.y)));
          return d / kSpread + weight * outline.layered(static_cast<double>(x),
                                                              static_cast<double>(y));
        });
  };
  // Takes the tiles of a grown region in the order grown until goal tiles
  // are covered, counting what came before in covered: for a mountain the
  // region's own tiles, the MOUNTAIN and inner border that hold minerals;
  // for a lake the tiles with all eight neighbours in it, which stay water
  // when the shore is drawn. So every start gets the same ground whatever
  // its outline.
  std::vector<uint8_t> covered(static_cast<size_t>(w.side * w.side), 0);
  int64_t coveredCount = 0;
  const auto cover = [&](int64_t x, int64_t y) {
    uint8_t& c = covered[w.at(x, y)];
    coveredCount += c == 0 ? 1 : 0;
    c = 1;
  };
  const auto take = [&](std::vector<uint8_t>& marks, const std::vector<int64_t>& tiles,
                        int64_t goal, bool interior) {
    const auto marked = [&](int64_t x, int64_t y) { return marks[w.at(x, y)] != 0; };
    for (int64_t tile : tiles) {
      if (coveredCount >= goal) break;
      const int64_t x = tile % size;
      const int64_t y = tile / size;
      marks[w.at(x, y)] = 1;
      if (!interior) cover(x, y);
      for (int64_t ny = y - 1; ny <= y + 1; ++ny) {
        for (int64_t nx = x - 1; nx <= x + 1; ++nx) {
          if (!interior) continue;
          bool inner = marked(nx, ny);
          for (int64_t my = ny - 1; inner && my <= ny + 1; ++my) {
            for (int64_t mx = nx - 1; inner && mx <= nx + 1; ++mx) inner = marked(mx, my);
          }
          if (inner) cover(nx, ny);
        }
      }
    }
  };
  const auto onMap = [&](int64_t tile) { return tile >= 0 && tile < size * size; };

  // One mountain, or two beside each other sharing its ground, facing the
  // planned direction or a quarter turn from it.
  std::vector<uint8_t> mountain(static_cast<size_t>(w.side * w.side), 0);
  const Tile towards = quarterTurned(s.mountainX - s.x, s.mountainY - s.y, fraction(key, 9));
  const double length = kSeedNear + (kSeedFar - kSeedNear) * fraction(key, 3);
  const double turn = kTurn * (2 * fraction(key, 4) - 1);
  const auto mountainAllowed = [&](int64_t tile) {
    return onMap(tile) && inReach(tile) && mountain[w.at(tile % size, tile / size)] == 0;
  };
  const auto growMountain = [&](Tile seed, int64_t goal) {
    if (coveredCount >= goal) return;
    take(mountain, grow(seed, 2 * START_MOUNTAIN_TILES, mountainAllowed, kMountainNoise), goal,
         false);
  };
  if (fraction(key, 2) < kPairShare) {
    const double apart = 0.6 + 0.6 * fraction(key, 6);
    const double share = 0.45 + 0.2 * fraction(key, 5);
    growMountain(seedTile(s, towards.x, towards.y, turn - apart, length),
                 static_cast<int64_t>(share * START_MOUNTAIN_TILES));
    growMountain(seedTile(s, towards.x, towards.y, turn + apart, length), START_MOUNTAIN_TILES);
  } else {
    growMountain(seedTile(s, towards.x, towards.y, turn, length), START_MOUNTAIN_TILES);
  }
  // Where a seed fell on ground already taken, or the ground around it ran
  // out, the rest grows from the compass points around the tower; so does
  // the lake's.
  for (const Tile& d : COMPASS) growMountain(seedTile(s, d.x, d.y, 0, length), START_MOUNTAIN_TILES);
  shape.toMountain = kingDistances(w, mountain, false, SHAPE_REACH);

  std::vector<uint8_t> lake(mountain.size(), 0);
  std::fill(covered.begin(), covered.end(), 0);
  coveredCount = 0;
  const Tile away = quarterTurned(s.lakeX - s.x, s.lakeY - s.y, fraction(key, 10));
  const double lakeLength = kSeedNear + (kSeedFar - kSeedNear) * fraction(key, 7);
  const double lakeTurn = kTurn * (2 * fraction(key, 8) - 1);
  const auto lakeAllowed = [&](int64_t tile) {
    return onMap(tile) && inReach(tile) &&
           shape.toMountain[w.at(tile % size, tile / size)] >= SHAPE_REACH;
  };
  const auto growLake = [&](Tile seed) {
    if (coveredCount >= START_LAKE_WATER) return;
    take(lake, grow(seed, 4 * START_LAKE_WATER, lakeAllowed, kLakeNoise), START_LAKE_WATER, true);
  };
  growLake(seedTile(s, away.x, away.y, lakeTurn, lakeLength));
  for (const Tile& d : COMPASS) growLake(seedTile(s, d.x, d.y, 0, lakeLength));
  shape.mountain = std::move(mountain);
  shape.lake = std::move(lake);
  return shape;
}

void measureStartShape(StartShape& shape) {
  shape.mountainDepth = kingDistances(shape.window, shape.mountain, true, SHAPE_REACH);
  shape.toLake = kingDistances(shape.window, shape.lake, false, SHAPE_REACH);
  shape.lakeDepth = kingDistances(shape.window, shape.lake, true, SHAPE_REACH);
}

std::vector<uint8_t> shapeTaken(const StartShape& shape) {
  std::vector<uint8_t> taken(shape.lake);
  // The mountain with its outer border ring.
  for (size_t i = 0; i < taken.size(); ++i) taken[i] |= shape.toMountain[i] <= 1 ? 1 : 0;
  return taken;
}

}  // namespace varnholt::generate
