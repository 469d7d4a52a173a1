#include "generate/landscapefields.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "generate/landscapes.h"

namespace varnholt::generate {

namespace {

// The path field is exact this far from a path and larger beyond.
constexpr int64_t kPathReach = 16;
// Relief: paths this wide stay plain, so every start reaches the others.
constexpr float kPlainPath = 5;

struct Pair {
  size_t a;
  size_t b;
  double length;
};

// The square root is correctly rounded everywhere, unlike std::hypot, whose
// last bit differs between C libraries: the browser's and the Windows
// programs' maps must equal these.
double between(const FairStart& a, const FairStart& b) {
  const double dx = static_cast<double>(a.x - b.x);
  const double dy = static_cast<double>(a.y - b.y);
  return std::sqrt(dx * dx + dy * dy);
}

size_t root(std::vector<size_t>& parent, size_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// The near pairs, then the shortest pairs that join what is still apart.
std::vector<Pair> neighbourPairs(const std::vector<FairStart>& starts, double spacing) {
  std::vector<Pair> all;
  for (size_t a = 0; a < starts.size(); ++a) {
    for (size_t b = a + 1; b < starts.size(); ++b)
      all.push_back({a, b, between(starts[a], starts[b])});
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const Pair& p, const Pair& q) { return p.length < q.length; });
  std::vector<size_t> parent(starts.size());
  std::iota(parent.begin(), parent.end(), size_t{0});
  std::vector<Pair> kept;
  for (const Pair& pair : all) {
    const size_t ra = root(parent, pair.a);
    const size_t rb = root(parent, pair.b);
    if (pair.length <= 1.5 * spacing || ra != rb) kept.push_back(pair);
    parent[ra] = rb;
  }
  return kept;
}

double toSegment(double px, double py, const FairStart& a, const FairStart& b) {
  const double dx = static_cast<double>(b.x - a.x);
  const double dy = static_cast<double>(b.y - a.y);
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = px - (static_cast<double>(a.x) + t * dx);
  const double ey = py - (static_cast<double>(a.y) + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

LandscapeFields landscapeFields(const model::Map& map, const model::Grid<uint8_t>& fine,
                                const std::vector<FairStart>& starts, int64_t startReach) {
  const int64_t size = map.size;
  const auto tiles = static_cast<size_t>(size * size);
  LandscapeFields fields;
  fields.size = size;
  fields.startReach = startReach;
  fields.spacing = static_cast<double>(size);
  for (size_t a = 0; a < starts.size(); ++a) {
    for (size_t b = a + 1; b < starts.size(); ++b) {
      fields.spacing = std::min(fields.spacing, between(starts[a], starts[b]));
    }
  }
  fields.coarse.resize(tiles);
  fields.fine.resize(tiles);
  fields.nearest.resize(tiles);
  fields.second.resize(tiles);
  fields.rival.resize(tiles);
  fields.edge.resize(tiles);
  fields.path.assign(tiles, static_cast<float>(kPathReach + 1));
  for (int64_t y = 0, i = 0; y < size; ++y) {
    for (int64_t x = 0; x < size; ++x, ++i) {
      const auto at = static_cast<size_t>(i);
      fields.coarse[at] = static_cast<float>(map.heights[at]) / 60.0f;
      fields.fine[at] = static_cast<float>(fine.data[at]) / 60.0f;
      fields.edge[at] = static_cast<float>(std::min({x, y, size - 1 - x, size - 1 - y}));
      // Squared distances compared, one root each at the end.
      int64_t first = size * size;
      int64_t next = size * size;
      int32_t team = -1;
      for (const FairStart& s : starts) {
        const int64_t d2 = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
        if (d2 < first) {
          next = first;
          first = d2;
          team = s.team;
        } else if (d2 < next) {
          next = d2;
        }
      }
      int64_t rival = size * size;
      for (const FairStart& s : starts) {
        if (s.team == team) continue;
        rival = std::min(rival, (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y));
      }
      fields.nearest[at] = std::sqrt(static_cast<float>(first));
      fields.second[at] = std::sqrt(static_cast<float>(next));
      fields.rival[at] = std::sqrt(static_cast<float>(rival));
    }
  }
  for (const Pair& pair : neighbourPairs(starts, fields.spacing)) {
    const FairStart& a = starts[pair.a];
    const FairStart& b = starts[pair.b];
    const int64_t left = std::max<int64_t>(0, std::min(a.x, b.x) - kPathReach);
    const int64_t right = std::min(size - 1, std::max(a.x, b.x) + kPathReach);
    const int64_t top = std::max<int64_t>(0, std::min(a.y, b.y) - kPathReach);
    const int64_t bottom = std::min(size - 1, std::max(a.y, b.y) + kPathReach);
    for (int64_t y = top; y <= bottom; ++y) {
      for (int64_t x = left; x <= right; ++x) {
        const auto at = static_cast<size_t>(x + size * y);
        const auto d =
            static_cast<float>(toSegment(static_cast<double>(x), static_cast<double>(y), a, b));
        fields.path[at] = std::min(fields.path[at], d);
      }
    }
  }
  return fields;
}

float plainRelief(const LandscapeFields& fields, size_t i) {
  // Paths widen and narrow with the noise.
  const float pathWidth = kPlainPath * (0.6f + fields.fine[i]);
  if (fields.nearest[i] < static_cast<float>(START_LEVEL_RADIUS) || fields.path[i] < pathWidth) {
    return NEVER_MOUNTAIN;
  }
  const float away =
      std::min(1.0f, (fields.nearest[i] - static_cast<float>(fields.startReach)) / 40.0f);
  return 0.6f * fields.coarse[i] + 0.4f * fields.fine[i] + 0.3f * away;
}

float coastLand(const LandscapeFields& fields, size_t i, float landPath, float shelf,
                float offshore) {
  if (fields.edge[i] < STYLE_FRAME) return FORCED_WATER;
  if (fields.nearest[i] < static_cast<float>(fields.startReach) || fields.path[i] < landPath) {
    return FORCED_LAND;
  }
  const float pull = std::max(0.0f, 1.0f - (fields.edge[i] - STYLE_FRAME) / shelf);
  return 0.7f * fields.coarse[i] + 0.3f * fields.fine[i] - offshore * pull;
}

}  // namespace varnholt::generate
