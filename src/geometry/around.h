#pragma once

#include <array>
#include <cstdint>

#include "varnholt/model/grid.h"

namespace varnholt::geometry {

using model::Grid;

// Up to 8 neighbours of a tile (indices or values), in the fixed order above,
// above-left, above-right, left, right, below, below-left, below-right; no
// wrap-around at the edges.
template <typename T>
struct Neighbours {
  std::array<T, 8> items{};
  int count = 0;

  const T* begin() const { return items.data(); }
  const T* end() const { return items.data() + count; }
};

using Around = Neighbours<int64_t>;

// Neighbours of tile i in column x of a w x h grid; for loops that walk the
// grid row by row and so know the column without a division.
inline Around aroundIndices(int64_t w, int64_t h, int64_t i, int64_t x) {
  Around around;
  const bool top = i < w;
  const bool left = x == 0;
  const bool right = x == w - 1;
  const bool bottom = i >= w * h - w;
  auto add = [&around](int64_t n) { around.items[around.count++] = n; };
  if (!top) {
    add(i - w);
    if (!left) add(i - w - 1);
    if (!right) add(i - w + 1);
  }
  if (!left) add(i - 1);
  if (!right) add(i + 1);
  if (!bottom) {
    add(i + w);
    if (!left) add(i + w - 1);
    if (!right) add(i + w + 1);
  }
  return around;
}

// Neighbours of tile i on a w x h grid.
inline Around aroundIndices(int64_t w, int64_t h, int64_t i) {
  return aroundIndices(w, h, i, i % w);
}

template <typename T>
Around aroundIndices(const Grid<T>& grid, int64_t i) {
  return aroundIndices(grid.w, grid.h, i);
}

// The grid's values at aroundIndices(grid, i), in the same order.
template <typename T>
Neighbours<T> aroundValues(const Grid<T>& grid, int64_t i) {
  Neighbours<T> values;
  for (int64_t n : aroundIndices(grid, i)) values.items[values.count++] = grid.data[n];
  return values;
}

}  // namespace varnholt::geometry
