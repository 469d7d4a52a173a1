#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Regions of irregular outline and a set size: mountains, lakes, woods and
// rock grow from a seed tile over a noise score until they hold the tiles
// asked for, so their amounts are equal by construction while their shapes
// follow each start's own noise.
namespace varnholt::generate {

// A square window of side tiles with its upper-left tile at (left, top),
// for distances within one start area.
struct Window {
  int64_t left = 0;
  int64_t top = 0;
  int64_t side = 0;
  bool holds(int64_t x, int64_t y) const {
    return x >= left && y >= top && x < left + side && y < top + side;
  }
  size_t at(int64_t x, int64_t y) const { return static_cast<size_t>(x - left + side * (y - top)); }
};

// Grows a region of up to count tiles of a size x size map from tile seed
// (x + size * y) within the window: the next tile taken is always the one
// of lowest score among the allowed tiles of the window beside the region
// (four neighbours; ties to the lower index). Returns the tiles in the
// order taken: fewer than count when the allowed tiles reachable from seed
// run out, none when seed is not allowed.
std::vector<int64_t> growRegion(int64_t size, const Window& window, int64_t seed, int64_t count,
                                const std::function<bool(int64_t)>& allowed,
                                const std::function<double(int64_t)>& score);

// For every tile of the window, the number of king's moves to the nearest
// tile marked in marks (window order), 0 on a marked tile, capped at cap;
// with inside set, the moves to the nearest unmarked tile instead (the depth
// into the marked region; tiles off the window count as unmarked).
std::vector<uint8_t> kingDistances(const Window& window, const std::vector<uint8_t>& marks,
                                   bool inside, uint8_t cap);

}  // namespace varnholt::generate
