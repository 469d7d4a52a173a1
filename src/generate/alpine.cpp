// raiseClimateMountains: the ranges and peaks of alpine maps, raised in the
// height field so the ground stage lays mountain and snow on them with its
// own rules, and the outline passes ring them as on any map. Water is every
// height up to 9, as the ground stage has it.
#include <algorithm>
#include <array>
#include <cmath>

#include "generate/climate.h"
#include "generate/climatefields.h"
#include "geometry/steps.h"

namespace varnholt::generate {

using model::Map;

namespace {

// Heights the landscape stage turns into water, and from which on it lays
// mountain without a draw.
constexpr int32_t kWaterTop = 9;
constexpr int32_t kMountainFrom = 41;
// No snow at or below this height: footpaths keep under it.
constexpr int32_t kPassTop = 50;
constexpr int32_t kHighest = 72;
constexpr double kPeakGain = 2;
// The searches count every this many-th rising tile.
constexpr size_t kSampleStride = 4;
// The top of the start areas' plain ground.
constexpr int32_t kPlainTop = 35;
// Beyond the start areas and from the shore the rise climbs by at most this
// much per tile: the steepest slope the file allows, so the slope rule
// lifts no tile of the start areas or the water.
constexpr int32_t kClimb = 7;
constexpr uint8_t kShoreReach = (kHighest - kWaterTop) / kClimb + 1;
constexpr int32_t kPlainReach = (kHighest - kPlainTop) / kClimb + 1;
// Ranges lie between the starts: a tile's score gains one per tile beyond
// the clearance, up to this many.
constexpr int32_t kRangeReach = 40;
// Height gained per score point above the mountain line: the gentlest of
// these that gives the peaks enough snow, found by bisection.
constexpr std::array<double, 16> kSteepness = {0.05, 0.07, 0.1, 0.13, 0.17, 0.22, 0.3, 0.4,
                                               0.5,  0.65, 0.8, 1.0,  1.3,  1.8,  2.5, 4.0};

struct Relief {
  int64_t size = 0;
  std::vector<uint8_t> heights;  // before the rise
  std::vector<int32_t> score;
  std::vector<uint8_t> room;  // the most a tile may rise to; 0 where it keeps its height
  std::vector<uint8_t> land;
  std::vector<uint8_t> keepLow;  // footpaths: no snow there
  std::vector<size_t> rising;    // the land tiles with room to rise
  std::vector<size_t> sample;    // every kSampleStride-th of them, for the searches
  int64_t landTiles = 0;
  int32_t lowestScore = 400;  // of the tiles that may rise
  int32_t highestScore = 0;
};

struct Rise {
  int32_t line = 0;  // the score at which the full rise reaches kMountainFrom
  double steepness = 1;
  // Mountain above this height rises by kPeakGain per step above it (peaks
  // sharpened for snow where the mountain is there already).
  int32_t peakLine = kHighest;
};

uint8_t raisedHeight(const Relief& r, const Rise& rise, size_t i) {
  const int32_t h = r.heights[i];
  if (r.room[i] == 0) return r.heights[i];
  double raised = std::max<double>(h, kMountainFrom + (r.score[i] - rise.line) * rise.steepness);
  raised += std::max(0.0, raised - rise.peakLine) * kPeakGain;
  raised = std::min<double>(std::max<int32_t>(h, r.room[i]), raised);
  if (!r.keepLow.empty() && r.keepLow[i] != 0) {
    raised = std::max<double>(h, std::min<double>(raised, kPassTop));
  }
  return static_cast<uint8_t>(std::lround(raised));
}

std::vector<uint8_t> raisedHeights(const Relief& r, const Rise& rise) {
  std::vector<uint8_t> heights(r.heights.size());
  for (size_t i = 0; i < heights.size(); ++i) heights[i] = raisedHeight(r, rise, i);
  return heights;
}

// What the landscape stage will make of a height, in quarter tiles: mountain
// or snow for certain from 41 on, with a chance of (h - 35) / 4 from 36 to
// 40; snow for certain from 54 on, with a chance of (h - 50) / 4 from 51.
int32_t mountainQuarters(int32_t h) { return std::clamp(h - 35, 0, 4); }
int32_t snowQuarters(int32_t h) { return std::clamp(h - 50, 0, 4); }

struct Counts {
  int64_t mountain = 0;
  int64_t snow = 0;
};

// The mountain and snow tiles of the rising land once raised, without the
// rings the outline passes add: counted exactly, or estimated from the sample.
Counts countTiles(const Relief& r, const Rise& rise, const std::vector<size_t>& tiles,
                  int64_t scale) {
  Counts c;
  for (size_t i : tiles) {
    const int32_t h = raisedHeight(r, rise, i);
    c.mountain += mountainQuarters(h);
    c.snow += snowQuarters(h);
  }
  return {c.mountain * scale / 4, c.snow * scale / 4};
}

Counts countRising(const Relief& r, const Rise& rise) { return countTiles(r, rise, r.rising, 1); }

Counts estimateRising(const Relief& r, const Rise& rise) {
  return countTiles(r, rise, r.sample, kSampleStride);
}

// The mountain and snow tiles of the whole land once raised, with the outer
// border ring the outline passes lay around mountain on the land beside it.
Counts countAll(const Relief& r, const Rise& rise) {
  const int64_t size = r.size;
  const std::vector<uint8_t> raised = raisedHeights(r, rise);
  Counts c;
  for (int64_t y = 1; y + 1 < size; ++y) {
    for (int64_t x = 1; x + 1 < size; ++x) {
      const auto i = static_cast<size_t>(x + size * y);
      if (r.land[i] == 0) continue;
      const int32_t h = raised[i];
      c.snow += snowQuarters(h);
      bool ringed = false;
      for (int64_t dy = -1; dy <= 1 && h < kMountainFrom && !ringed; ++dy) {
        for (int64_t dx = -1; dx <= 1; ++dx) {
          ringed = ringed || raised[static_cast<size_t>(x + dx + size * (y + dy))] >= kMountainFrom;
        }
      }
      c.mountain += ringed ? 4 : mountainQuarters(h);
    }
  }
  return {c.mountain / 4, c.snow / 4};
}

// The highest line (the least rise) that gives the rising land want mountain
// tiles; no lower than the lowest score there, where all of it rises fully
// and further down only the snow would grow.
int32_t lineFor(const Relief& r, double steepness, int64_t want) {
  int32_t low = r.lowestScore;
  int32_t high = r.highestScore + 1;  // rises nothing to mountain
  if (estimateRising(r, {low, steepness}).mountain < want) return low;
  while (high - low > 1) {
    const int32_t middle = low + (high - low) / 2;
    if (estimateRising(r, {middle, steepness}).mountain >= want) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return low;
}

// The gentlest rise whose rising land holds wantMountain mountain tiles and
// wantSnow snow tiles, the steepest where none does.
Rise riseFor(const Relief& r, int64_t wantMountain, int64_t wantSnow) {
  size_t low = 0;
  size_t high = kSteepness.size() - 1;
  while (low < high) {
    const size_t middle = (low + high) / 2;
    const Rise rise = {lineFor(r, kSteepness[middle], wantMountain), kSteepness[middle]};
    if (estimateRising(r, rise).snow >= wantSnow) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return {lineFor(r, kSteepness[low], wantMountain), kSteepness[low]};
}

Relief reliefOf(const Map& map, Random& random, const std::vector<FairStart>& starts,
                StartSymmetry symmetry) {
  Relief r;
  r.size = map.size;
  r.heights = map.heights;
  // The rise begins at the climate's clearance, where the first step of 7
  // makes mountain whose outer ring keeps off the start areas.
  const auto plainEnd = static_cast<int32_t>(CLIMATE_CLEARANCE - 1);
  const auto reach = plainEnd + kRangeReach;
  const std::vector<int32_t> distance = startDistances(map, starts, reach);
  r.score = climateNoise(map, random, symmetry);
  r.land.assign(r.heights.size(), 0);
  std::vector<uint8_t> water(r.heights.size(), 0);
  for (int64_t y = 0; y < r.size; ++y) {
    for (int64_t x = 0; x < r.size; ++x) {
      const auto i = static_cast<size_t>(x + r.size * y);
      water[i] = r.heights[i] <= kWaterTop;
      r.land[i] = water[i] == 0;
      r.landTiles += r.land[i];
    }
  }
  const std::vector<uint8_t> shore = geometry::stepsTo(map.size, water, kShoreReach);
  r.room.assign(r.heights.size(), 0);
  for (size_t i = 0; i < r.heights.size(); ++i) {
    const int32_t beyond = distance[i] - plainEnd;
    r.score[i] += std::clamp(beyond, 0, kRangeReach);
    if (r.land[i] == 0 || beyond <= 0) continue;
    r.room[i] =
        static_cast<uint8_t>(std::min({kHighest, kWaterTop + kClimb * shore[i],
                                       kPlainTop + kClimb * std::min(beyond, kPlainReach)}));
    r.lowestScore = std::min(r.lowestScore, r.score[i]);
    r.highestScore = std::max(r.highestScore, r.score[i]);
    if (r.rising.size() % kSampleStride == 0) r.sample.push_back(i);
    r.rising.push_back(i);
  }
  return r;
}

// The land no snow blocks at the given heights.
std::vector<uint8_t> belowSnow(const Relief& r, const std::vector<uint8_t>& heights) {
  std::vector<uint8_t> open(heights.size(), 0);
  for (size_t i = 0; i < open.size(); ++i) open[i] = r.land[i] != 0 && heights[i] <= kPassTop;
  return open;
}

}  // namespace

void raiseClimateMountains(Map& map, Random& random, const std::vector<FairStart>& starts,
                           const model::MapStyle& style, StartSymmetry symmetry) {
  if (style.climate != model::ClimateStyle::ALPINE) return;
  Relief r = reliefOf(map, random, starts, symmetry);
  const int64_t wantMountain = (r.landTiles * alpineMountainPercent(style) + 99) / 100;
  const int64_t wantSnow = (r.landTiles * ALPINE_SNOW_PERCENT + 99) / 100;
  // The rising land's share is what the rest of the land and the rings
  // around mountain leave to make: measured once at a first rise, then the
  // rise is found again for what is left.
  Rise rise = riseFor(r, wantMountain, wantSnow);
  const Counts all = countAll(r, rise);
  const Counts rising = countRising(r, rise);
  rise = riseFor(r, wantMountain - (all.mountain - rising.mountain),
                 wantSnow - (all.snow - rising.snow));
  // Where the landscape has made the mountain already, nothing rises: the
  // highest peaks are sharpened until they hold the snow.
  const int64_t wantRisingSnow = wantSnow - (all.snow - rising.snow);
  if (estimateRising(r, rise).snow < wantRisingSnow) {
    int32_t low = kMountainFrom;  // sharpens every mountain
    int32_t high = kHighest;      // sharpens nothing
    while (high - low > 1) {
      const int32_t middle = low + (high - low) / 2;
      rise.peakLine = middle;
      if (estimateRising(r, rise).snow >= wantRisingSnow) {
        low = middle;
      } else {
        high = middle;
      }
    }
    rise.peakLine = low;
  }
  // Snow blocks the way; where it would cut the starts apart, the shortest
  // walks between them stay passes below the snow.
  const std::vector<uint8_t> before = belowSnow(r, r.heights);
  if (splitsStarts(r.size, before, belowSnow(r, raisedHeights(r, rise)), starts)) {
    r.keepLow = footpaths(r.size, before, starts, symmetry);
  }
  map.heights = raisedHeights(r, rise);
  limitSlopes(map);
}

}  // namespace varnholt::generate
