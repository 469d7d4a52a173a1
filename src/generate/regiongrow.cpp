#include "generate/regiongrow.h"

#include <algorithm>
#include <queue>
#include <tuple>

namespace varnholt::generate {

std::vector<int64_t> growRegion(int64_t size, const Window& window, int64_t seed, int64_t count,
                                const std::function<bool(int64_t)>& allowed,
                                const std::function<double(int64_t)>& score) {
  std::vector<int64_t> region;
  const auto inWindow = [&](int64_t tile) { return window.holds(tile % size, tile / size); };
  if (count <= 0 || !inWindow(seed) || !allowed(seed)) return region;
  using Entry = std::tuple<double, int64_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> frontier;
  // Tiles seen so far: taken or waiting in the frontier.
  std::vector<uint8_t> seen(static_cast<size_t>(window.side * window.side), 0);
  seen[window.at(seed % size, seed / size)] = 1;
  frontier.emplace(score(seed), seed);
  while (!frontier.empty() && static_cast<int64_t>(region.size()) < count) {
    const int64_t tile = std::get<1>(frontier.top());
    frontier.pop();
    region.push_back(tile);
    const int64_t x = tile % size;
    const int64_t y = tile / size;
    const int64_t next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[1] < 0 || n[0] >= size || n[1] >= size || !window.holds(n[0], n[1])) {
        continue;
      }
      const int64_t neighbour = n[0] + size * n[1];
      uint8_t& known = seen[window.at(n[0], n[1])];
      if (known != 0 || !allowed(neighbour)) continue;
      known = 1;
      frontier.emplace(score(neighbour), neighbour);
    }
  }
  return region;
}

std::vector<uint8_t> kingDistances(const Window& window, const std::vector<uint8_t>& marks,
                                   bool inside, uint8_t cap) {
  const int64_t side = window.side;
  std::vector<uint8_t> distance(marks.size(), cap);
  std::queue<int64_t> queue;
  const auto besideOther = [&](int64_t i) {
    const int64_t x = i % side;
    const int64_t y = i / side;
    const bool marked = marks[static_cast<size_t>(i)] != 0;
    for (int64_t ny = std::max<int64_t>(0, y - 1); ny <= std::min(side - 1, y + 1); ++ny) {
      for (int64_t nx = std::max<int64_t>(0, x - 1); nx <= std::min(side - 1, x + 1); ++nx) {
        if ((marks[static_cast<size_t>(nx + side * ny)] != 0) != marked) return true;
      }
    }
    return false;
  };
  for (int64_t i = 0; i < side * side; ++i) {
    const bool marked = marks[static_cast<size_t>(i)] != 0;
    if (marked != inside) {
      distance[static_cast<size_t>(i)] = 0;
      // Only sources beside the other kind of tile can lead anywhere.
      if (besideOther(i)) queue.push(i);
    } else if (inside && (i % side == 0 || i / side == 0 || i % side == side - 1 ||
                          i / side == side - 1)) {
      // Beside the unmarked tiles off the window.
      distance[static_cast<size_t>(i)] = 1;
      queue.push(i);
    }
  }
  while (!queue.empty()) {
    const int64_t i = queue.front();
    queue.pop();
    const uint8_t d = distance[static_cast<size_t>(i)];
    if (d + 1 >= cap) continue;
    const int64_t x = i % side;
    const int64_t y = i / side;
    for (int64_t ny = std::max<int64_t>(0, y - 1); ny <= std::min(side - 1, y + 1); ++ny) {
      for (int64_t nx = std::max<int64_t>(0, x - 1); nx <= std::min(side - 1, x + 1); ++nx) {
        const auto n = static_cast<size_t>(nx + side * ny);
        if (distance[n] <= d + 1) continue;
        distance[n] = static_cast<uint8_t>(d + 1);
        queue.push(static_cast<int64_t>(n));
      }
    }
  }
  return distance;
}

}  // namespace varnholt::generate
