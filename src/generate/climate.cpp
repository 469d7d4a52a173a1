#include "generate/climate.h"

#include <algorithm>
#include <string>

#include "geometry/around.h"
#include "generate/climatefields.h"
#include "generate/heightfield.h"
#include "generate/stages.h"
#include "geometry/steps.h"
#include "varnholt/model/error.h"

namespace varnholt::generate {

using geometry::aroundIndices;

using model::AccessibleType;
using model::ClimateStyle;
using model::LandscapeType;
using model::Map;

namespace {

// Climate ground keeps this many tiles (in x and y) from ground whose
// border rings its own must not meet, and one from water, so the rings of
// desert are drawn on land.
constexpr int64_t kApart = 2;
// Desert grows outwards from the oases: a tile's score gains one per tile
// beyond the clearance, up to this many.
constexpr int32_t kDesertReach = 40;
// Swamp lies low: a tile's score gains two per height step below this.
constexpr int32_t kSwampHeight = 36;
// The field that splits swamp into moor and mud: cells of this many tiles.
constexpr int64_t kSplitStep = 24;
constexpr int64_t kSplitRange = 60;

int64_t landTiles(const Map& map) {
  return std::count_if(map.landscape.begin(), map.landscape.end(),
                       [](LandscapeType t) { return !model::isWater(t); });
}

template <typename Test>
int64_t tilesOf(const Map& map, Test test) {
  return std::count_if(map.landscape.begin(), map.landscape.end(), test);
}

// 1 where a tile's ground passes test, for the distance fields.
template <typename Test>
std::vector<uint8_t> markWhere(const Map& map, Test test) {
  std::vector<uint8_t> mark(map.landscape.size());
  for (size_t i = 0; i < mark.size(); ++i) mark[i] = test(map.landscape[i]) ? 1 : 0;
  return mark;
}

bool isMud(LandscapeType t) {
  return t == LandscapeType::MUDINNER || t == LandscapeType::MUD || t == LandscapeType::MUDBORDER;
}

bool blocksWalking(LandscapeType t) {
  return model::isWater(t) || t == LandscapeType::MOORINNER || t == LandscapeType::MUDINNER ||
         t == LandscapeType::SNOWINNER;
}

// Ground a climate's tiles keep apart from: the tiles marked, by at least
// apart tiles in x and y.
struct Apart {
  std::vector<uint8_t> marked;
  int64_t apart = 1;
};

// The GRASS tiles beyond the clearance that keep apart from every ground
// listed.
std::vector<size_t> grassBeyondStarts(const Map& map, const std::vector<int32_t>& distance,
                                      const std::vector<Apart>& avoid) {
  std::vector<uint8_t> open(map.landscape.size(), 0);
  for (size_t i = 0; i < open.size(); ++i) {
    open[i] = map.landscape[i] == LandscapeType::GRASS && distance[i] >= CLIMATE_CLEARANCE;
  }
  for (const Apart& a : avoid) {
    const std::vector<uint8_t> steps =
        geometry::stepsTo(map.size, a.marked, static_cast<uint8_t>(a.apart + 1));
    for (size_t i = 0; i < open.size(); ++i) open[i] = open[i] != 0 && steps[i] > a.apart;
  }
  std::vector<size_t> tiles;
  for (size_t i = 0; i < open.size(); ++i) {
    if (open[i] != 0) tiles.push_back(i);
  }
  return tiles;
}

// How many tiles the climate still has to lay for its share of the land.
size_t stillToLay(const Map& map, int32_t percent, int64_t have) {
  const int64_t want = (landTiles(map) * percent + 99) / 100;
  return static_cast<size_t>(std::max<int64_t>(0, want - have));
}

// How many of the ranked tiles, taken best first, make want desert tiles
// with the outer border ring the outline passes lay around them on other
// land; all of them when they cannot.
size_t desertNeeded(const Map& map, const std::vector<size_t>& ranked, int64_t want) {
  const int64_t size = map.size;
  std::vector<uint8_t> desert(map.landscape.size(), 0);
  int64_t tiles = 0;
  for (size_t k = 0; k < ranked.size(); ++k) {
    if (tiles >= want) return k;
    const auto i = static_cast<int64_t>(ranked[k]);
    tiles += desert[ranked[k]] == 0;  // unless it counted as ring already
    desert[ranked[k]] = 1;
    for (int64_t n : aroundIndices(size, size, i, i % size)) {
      const auto j = static_cast<size_t>(n);
      const LandscapeType t = map.landscape[j];
      if (desert[j] != 0 || model::isWater(t) || model::isDesert(t) || t == LandscapeType::SAND) {
        continue;
      }
      desert[j] = 1;
      ++tiles;
    }
  }
  return ranked.size();
}

void layDesert(Map& map, Random& random, const std::vector<FairStart>& starts,
               StartSymmetry symmetry) {
  const std::vector<int32_t> distance =
      startDistances(map, starts, static_cast<int32_t>(CLIMATE_CLEARANCE + kDesertReach));
  std::vector<int32_t> score = climateNoise(map, random, symmetry);
  for (size_t i = 0; i < score.size(); ++i) {
    score[i] += std::max<int32_t>(0, distance[i] - static_cast<int32_t>(CLIMATE_CLEARANCE));
  }
  const std::vector<Apart> avoid = {
      {markWhere(map, [](LandscapeType t) { return model::isWater(t); }), 1},
      {markWhere(map,
                 [](LandscapeType t) {
                   return model::isMountain(t) || model::isSnow(t) || model::isMoor(t);
                 }),
       kApart}};
  const int64_t have =
      tilesOf(map, [](LandscapeType t) { return model::isDesert(t) || t == LandscapeType::SAND; });
  const auto want = static_cast<int64_t>(stillToLay(map, DESERT_PERCENT, have));
  const std::vector<size_t> ranked = byScore(grassBeyondStarts(map, distance, avoid), score);
  // The fewest best-ranked tiles that with their rings make the share.
  const size_t count = desertNeeded(map, ranked, want);
  for (size_t k = 0; k < count; ++k) {
    map.landscape[ranked[k]] = LandscapeType::DESERT;
    map.accessible[ranked[k]] = AccessibleType::EMPTY;
  }
}

// The swamp's tiles: the best-scored of the candidates, off the tiles marked
// in keepOff.
std::vector<size_t> swampTiles(const std::vector<size_t>& candidates,
                               const std::vector<int32_t>& score, size_t count,
                               const std::vector<uint8_t>& keepOff) {
  std::vector<size_t> open;
  for (size_t i : candidates) {
    if (keepOff.empty() || keepOff[i] == 0) open.push_back(i);
  }
  return bestScored(open, score, count);
}

void laySwamp(Map& map, Random& random, const std::vector<FairStart>& starts,
              StartSymmetry symmetry) {
  const int64_t size = map.size;
  const std::vector<int32_t> distance =
      startDistances(map, starts, static_cast<int32_t>(CLIMATE_CLEARANCE));
  std::vector<int32_t> score = climateNoise(map, random, symmetry);
  for (size_t i = 0; i < score.size(); ++i) {
    score[i] += 2 * std::max<int32_t>(0, kSwampHeight - map.heights[i]);
  }
  const Grid<uint8_t> splitGrid = generate(random, size, kSplitStep, kSplitRange);
  std::vector<int32_t> split(splitGrid.data.begin(), splitGrid.data.end());
  symmetrizeField(split, size, symmetry);

  // Moor and mud draw their rings on their own tiles: one tile apart from
  // other ground is enough, and they may reach the water.
  const std::vector<Apart> avoid = {{markWhere(map,
                                               [](LandscapeType t) {
                                                 return model::isMountain(t) || model::isSnow(t) ||
                                                        model::isDesert(t);
                                               }),
                                     1}};
  const std::vector<size_t> candidates = grassBeyondStarts(map, distance, avoid);
  const int64_t have = tilesOf(map, [](LandscapeType t) { return model::isMoor(t) || isMud(t); });
  const size_t count = stillToLay(map, SWAMP_PERCENT, have);
  std::vector<size_t> tiles = swampTiles(candidates, score, count, {});
  // Swamp blocks the way; where it would cut the starts apart it keeps off
  // the shortest walks between them instead.
  std::vector<uint8_t> walkable = markWhere(map, [](LandscapeType t) { return !blocksWalking(t); });
  std::vector<uint8_t> laid = walkable;
  for (size_t i : tiles) laid[i] = 0;
  if (splitsStarts(size, walkable, laid, starts)) {
    tiles = swampTiles(candidates, score, count, footpaths(size, walkable, starts, symmetry));
  }

  // Moor where the split field is low, mud where it is high; a tile beside
  // the other kind stays grass, so a strip of grass keeps their rings apart.
  std::vector<uint8_t> kind(map.landscape.size(), 0);  // 1 moor, 2 mud
  for (size_t i : tiles) kind[i] = split[i] < kSplitRange / 2 ? 1 : 2;
  for (size_t i = 0; i < kind.size(); ++i) {
    if (model::isMoor(map.landscape[i])) kind[i] = 1;
  }
  for (size_t i : tiles) {
    bool beside = false;
    for (int64_t n :
         geometry::aroundIndices(size, size, static_cast<int64_t>(i), static_cast<int64_t>(i) % size)) {
      beside =
          beside || (kind[static_cast<size_t>(n)] != 0 && kind[static_cast<size_t>(n)] != kind[i]);
    }
    if (beside) continue;
    map.landscape[i] = kind[i] == 1 ? LandscapeType::MOORINNER : LandscapeType::MUDINNER;
    map.accessible[i] = AccessibleType::BLOCKED;
  }
  initMudOutlines(map);
}

}  // namespace

void validateStyle(const model::MapStyle& style) {
  if (style.climate == ClimateStyle::ALPINE &&
      style.mountainPercent != model::STYLE_DEFAULT_SHARE &&
      style.mountainPercent < ALPINE_LEAST_MOUNTAIN_PERCENT) {
    throw valueError("--mountains takes at least " + std::to_string(ALPINE_LEAST_MOUNTAIN_PERCENT) +
                     " with --climate=alpine, not " + std::to_string(style.mountainPercent));
  }
}

int32_t alpineMountainPercent(const model::MapStyle& style) {
  return style.mountainPercent == model::STYLE_DEFAULT_SHARE ? ALPINE_MOUNTAIN_PERCENT
                                                             : style.mountainPercent;
}

void growPalms(Map& map, const Random& random, const std::vector<FairStart>& starts,
               ClimateStyle climate) {
  if (climate != ClimateStyle::DESERT) return;
  const std::vector<int32_t> distance =
      startDistances(map, starts, static_cast<int32_t>(START_LEVEL_RADIUS));
  for (size_t i = 0; i < map.objects.size(); ++i) {
    if (!model::isTree(map.objects[i]) || distance[i] < START_LEVEL_RADIUS) continue;
    const uint64_t hash = tileHash(random.state.s1, i);
    if (hash % 3 == 0) continue;
    map.objects[i] = (hash >> 32) % 2 == 0 ? model::ObjectType::TREE_ARECACEAE_1
                                           : model::ObjectType::TREE_ARECACEAE_2;
  }
}

void layClimateGround(Map& map, Random& random, const std::vector<FairStart>& starts,
                      ClimateStyle climate, StartSymmetry symmetry) {
  switch (climate) {
    case ClimateStyle::DESERT:
      layDesert(map, random, starts, symmetry);
      return;
    case ClimateStyle::SWAMP:
      laySwamp(map, random, starts, symmetry);
      return;
    case ClimateStyle::TEMPERATE:
    case ClimateStyle::ALPINE:
      return;
  }
}

}  // namespace varnholt::generate
