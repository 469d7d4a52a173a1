#include "geometry/circle.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "geometry/tiles.h"

namespace varnholt::geometry {

namespace {

std::vector<CircleOffset> buildOffsets(int64_t radius) {
  struct Ranked {
    int64_t distance;
    CircleOffset offset;
  };
  std::vector<Ranked> ranked;
  for (int64_t dy = -radius; dy <= radius; ++dy) {
    for (int64_t dx = -radius; dx <= radius; ++dx) {
      const int64_t d = distance(0, 0, dx, dy);
      if (d < radius) ranked.push_back({d, {dx, dy}});
    }
  }
  // Stable: offsets at the same truncated distance keep their row-major order.
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const Ranked& a, const Ranked& b) { return a.distance < b.distance; });
  std::vector<CircleOffset> offsets;
  offsets.reserve(ranked.size());
  for (const Ranked& r : ranked) offsets.push_back(r.offset);
  return offsets;
}

}  // namespace

const std::vector<CircleOffset>& circleOffsets(int64_t radius) {
  // Shared by every generation; entries are never removed, so references
  // handed out stay valid while other threads add radii.
  static std::mutex guard;
  static std::map<int64_t, std::vector<CircleOffset>> cache;
  const std::lock_guard<std::mutex> lock(guard);
  auto found = cache.find(radius);
  if (found == cache.end()) found = cache.emplace(radius, buildOffsets(radius)).first;
  return found->second;
}

int64_t circleHalfWidth(int64_t radius, int64_t dy) {
  int64_t dx = -1;
  while (distance(0, 0, dx + 1, dy) < radius) ++dx;
  return dx;
}

Circle::Circle(int64_t w, int64_t h, int64_t centre, int64_t radius)
    : w_(w), h_(h), cx_(x(w, centre)), cy_(y(w, centre)) {
  const std::vector<CircleOffset>& offsets = circleOffsets(radius);
  first_ = offsets.data();
  last_ = offsets.data() + offsets.size();
}

std::vector<int64_t> circleIndices(int64_t w, int64_t h, int64_t centre, int64_t radius) {
  std::vector<int64_t> indices;
  for (int64_t tile : Circle(w, h, centre, radius)) indices.push_back(tile);
  return indices;
}

}  // namespace varnholt::geometry
