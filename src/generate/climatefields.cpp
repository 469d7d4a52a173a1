#include "generate/climatefields.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "geometry/around.h"
#include "generate/heightfield.h"
#include "generate/symmetry.h"

namespace varnholt::generate {

using geometry::aroundIndices;

namespace {

// The noise: swells about 32 tiles across, ripples about 10.
constexpr int64_t kSwellStep = 32;
constexpr int64_t kRippleStep = 10;
constexpr int64_t kSwellRange = 80;
constexpr int64_t kRippleRange = 40;

// Breadth-first walk over walkable tiles from a start; each reached tile
// keeps the tile it was reached from (itself for the start, -1 unreached).
std::vector<int64_t> walkFrom(int64_t size, const std::vector<uint8_t>& walkable,
                              const FairStart& from) {
  std::vector<int64_t> cameFrom(walkable.size(), -1);
  const int64_t first = from.x + size * from.y;
  std::deque<int64_t> queue = {first};
  cameFrom[static_cast<size_t>(first)] = first;
  while (!queue.empty()) {
    const int64_t i = queue.front();
    queue.pop_front();
    for (int64_t n : geometry::aroundIndices(size, size, i, i % size)) {
      const auto k = static_cast<size_t>(n);
      if (cameFrom[k] >= 0 || walkable[k] == 0) continue;
      cameFrom[k] = i;
      queue.push_back(n);
    }
  }
  return cameFrom;
}

// Per start, the first start (by index) that can reach it over walkable
// tiles: equal numbers for starts that can reach each other.
std::vector<size_t> groupsOf(int64_t size, const std::vector<uint8_t>& walkable,
                             const std::vector<FairStart>& starts) {
  std::vector<size_t> group(starts.size(), starts.size());
  for (size_t k = 0; k < starts.size(); ++k) {
    if (group[k] != starts.size()) continue;
    group[k] = k;
    const std::vector<int64_t> cameFrom = walkFrom(size, walkable, starts[k]);
    for (size_t j = k + 1; j < starts.size(); ++j) {
      if (cameFrom[static_cast<size_t>(starts[j].x + size * starts[j].y)] >= 0) group[j] = k;
    }
  }
  return group;
}

}  // namespace

std::vector<int32_t> startDistances(const model::Map& map, const std::vector<FairStart>& starts,
                                    int32_t reach) {
  const int64_t size = map.size;
  std::vector<int32_t> distance(static_cast<size_t>(size * size), reach);
  for (const FairStart& s : starts) {
    for (int64_t y = std::max<int64_t>(0, s.y - reach); y <= std::min(size - 1, s.y + reach); ++y) {
      for (int64_t x = std::max<int64_t>(0, s.x - reach); x <= std::min(size - 1, s.x + reach);
           ++x) {
        const int64_t d2 = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
        const auto d = static_cast<int32_t>(std::sqrt(static_cast<double>(d2)));
        int32_t& at = distance[static_cast<size_t>(x + size * y)];
        at = std::min(at, d);
      }
    }
  }
  return distance;
}

void symmetrizeField(std::vector<int32_t>& field, int64_t size, StartSymmetry symmetry) {
  const int64_t order = symmetryOrder(symmetry);
  if (order == 1) return;
  std::vector<int32_t> mean(field.size());
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      int64_t sum = 0;
      for (int64_t e = 0; e < order; ++e) {
        const Tile t = image(e, size, {x, y});
        sum += field[static_cast<size_t>(t.x + size * t.y)];
      }
      mean[static_cast<size_t>(x + size * y)] = static_cast<int32_t>(sum / order);
    }
  }
  field = std::move(mean);
}

std::vector<int32_t> climateNoise(const model::Map& map, Random& random, StartSymmetry symmetry) {
  const int64_t size = map.size;
  const Grid<uint8_t> swells = generate(random, size, kSwellStep, kSwellRange);
  const Grid<uint8_t> ripples = generate(random, size, kRippleStep, kRippleRange);
  std::vector<int32_t> field(static_cast<size_t>(size * size));
  for (size_t i = 0; i < field.size(); ++i) field[i] = swells.data[i] + ripples.data[i];
  symmetrizeField(field, size, symmetry);
  return field;
}

bool splitsStarts(int64_t size, const std::vector<uint8_t>& before,
                  const std::vector<uint8_t>& after, const std::vector<FairStart>& starts) {
  return groupsOf(size, before, starts) != groupsOf(size, after, starts);
}

std::vector<uint8_t> footpaths(int64_t size, const std::vector<uint8_t>& walkable,
                               const std::vector<FairStart>& starts, StartSymmetry symmetry) {
  std::vector<uint8_t> path(walkable.size(), 0);
  const std::vector<size_t> group = groupsOf(size, walkable, starts);
  for (size_t k = 0; k < starts.size(); ++k) {
    if (group[k] != k) continue;
    const std::vector<int64_t> cameFrom = walkFrom(size, walkable, starts[k]);
    for (size_t j = k + 1; j < starts.size(); ++j) {
      if (group[j] != k) continue;
      int64_t i = starts[j].x + size * starts[j].y;
      while (path[static_cast<size_t>(i)] == 0) {
        path[static_cast<size_t>(i)] = 1;
        i = cameFrom[static_cast<size_t>(i)];
      }
    }
    path[static_cast<size_t>(starts[k].x + size * starts[k].y)] = 1;
  }
  std::vector<uint8_t> wide(path.size(), 0);
  const int64_t order = symmetryOrder(symmetry);
  for (int64_t y = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x) {
      if (path[static_cast<size_t>(x + size * y)] == 0) continue;
      for (int64_t e = 0; e < order; ++e) {
        const Tile t = image(e, size, {x, y});
        for (int64_t ny = std::max<int64_t>(0, t.y - 1); ny <= std::min(size - 1, t.y + 1); ++ny) {
          for (int64_t nx = std::max<int64_t>(0, t.x - 1); nx <= std::min(size - 1, t.x + 1);
               ++nx) {
            wide[static_cast<size_t>(nx + size * ny)] = 1;
          }
        }
      }
    }
  }
  return wide;
}

std::vector<size_t> byScore(const std::vector<size_t>& candidates,
                            const std::vector<int32_t>& score) {
  std::vector<size_t> ranked = candidates;
  std::sort(ranked.begin(), ranked.end(), [&score](size_t a, size_t b) {
    return score[a] != score[b] ? score[a] > score[b] : a < b;
  });
  return ranked;
}

std::vector<size_t> bestScored(const std::vector<size_t>& candidates,
                               const std::vector<int32_t>& score, size_t count) {
  std::vector<size_t> best = candidates;
  const auto better = [&score](size_t a, size_t b) {
    return score[a] != score[b] ? score[a] > score[b] : a < b;
  };
  if (count < best.size()) {
    std::nth_element(best.begin(), best.begin() + static_cast<std::ptrdiff_t>(count), best.end(),
                     better);
    best.resize(count);
  }
  std::sort(best.begin(), best.end());
  return best;
}

uint64_t tileHash(uint64_t salt, size_t tile) {
  // The finaliser of splitmix64.
  uint64_t z = salt ^ (static_cast<uint64_t>(tile) * 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace varnholt::generate
