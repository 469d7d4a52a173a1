#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rectangular fields of cells: the layers of a map seen as 2-D arrays.
namespace varnholt::model {

// A w x h array of cells in row-major order: cell (x, y) is data[x + w * y].
template <typename T>
struct Grid {
  int64_t w = 0;
  int64_t h = 0;
  std::vector<T> data;

  Grid() = default;
  Grid(int64_t width, int64_t height, T fill = T{})
      : w(width), h(height), data(static_cast<size_t>(width * height), fill) {}
};

template <typename T>
int64_t index(const Grid<T>& grid, int64_t x, int64_t y) {
  return x + grid.w * y;
}
template <typename T>
T value(const Grid<T>& grid, int64_t i) {
  return grid.data[static_cast<size_t>(i)];
}
template <typename T>
T value(const Grid<T>& grid, int64_t x, int64_t y) {
  return grid.data[static_cast<size_t>(index(grid, x, y))];
}
template <typename T>
void setValue(Grid<T>& grid, int64_t x, int64_t y, T v) {
  grid.data[static_cast<size_t>(index(grid, x, y))] = v;
}

template <typename T>
bool isLeft(const Grid<T>&, int64_t x, int64_t) { return x == 0; }
template <typename T>
bool isTop(const Grid<T>&, int64_t, int64_t y) { return y == 0; }
template <typename T>
bool isRight(const Grid<T>& grid, int64_t x, int64_t) { return x == grid.w - 1; }
template <typename T>
bool isBottom(const Grid<T>& grid, int64_t, int64_t y) { return y == grid.h - 1; }

}  // namespace varnholt::model
