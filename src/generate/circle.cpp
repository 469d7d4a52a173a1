#include "generate/circle.h"

#include <algorithm>
#include <map>

#include "model/utils.h"

namespace varnholt::generate {

namespace {

std::vector<CircleOffset> buildOffsets(int64_t radius) {
  std::vector<CircleOffset> offsets;
  for (int64_t dy = -radius; dy <= radius; ++dy) {
    for (int64_t dx = -radius; dx <= radius; ++dx) {
      if (distance(0, 0, dx, dy) < radius) offsets.push_back({dx, dy});
    }
  }
  // Stable: offsets at the same truncated distance keep their row-major order.
  const auto nearer = [](const CircleOffset& a, const CircleOffset& b) {
    return distance(0, 0, a.dx, a.dy) < distance(0, 0, b.dx, b.dy);
  };
  std::stable_sort(offsets.begin(), offsets.end(), nearer);
  return offsets;
}

}  // namespace

const std::vector<CircleOffset>& circleOffsets(int64_t radius) {
  // The program is single-threaded; entries are never removed, so references stay valid.
  static std::map<int64_t, std::vector<CircleOffset>> cache;
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

}  // namespace varnholt::generate
