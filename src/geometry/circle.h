#pragma once

#include <cstdint>
#include <vector>

#include "varnholt/model/grid.h"

// Tiles around a centre tile at truncated distance below a radius, nearest
// first; ties keep row-major order (upper row first, then left column).
namespace varnholt::geometry {

using model::Grid;

// A tile offset from the centre: dx columns, dy rows.
struct CircleOffset {
  int64_t dx;
  int64_t dy;
};

// Offsets with distance(0, 0, dx, dy) < radius in circle order. Built and
// sorted once per radius and kept for the rest of the process; safe to call
// from several threads.
const std::vector<CircleOffset>& circleOffsets(int64_t radius);

// The largest dx with distance(0, 0, dx, dy) < radius, or -1 when row dy lies
// outside the circle.
int64_t circleHalfWidth(int64_t radius, int64_t dy);

// The tiles of the circle around tile centre of a w x h grid, in circle
// order, visited without building a list. The centre's column and row are
// x(w, centre) and y(w, centre); tiles outside the grid are skipped.
class Circle {
 public:
  class Iterator {
   public:
    Iterator(const CircleOffset* at, const CircleOffset* end, const Circle* circle)
        : at_(at), end_(end), circle_(circle) {
      skipOutside();
    }
    int64_t operator*() const {
      return circle_->cx_ + at_->dx + (circle_->cy_ + at_->dy) * circle_->w_;
    }
    Iterator& operator++() {
      ++at_;
      skipOutside();
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    void skipOutside() {
      while (at_ != end_ && !circle_->contains(*at_)) ++at_;
    }
    const CircleOffset* at_;
    const CircleOffset* end_;
    const Circle* circle_;
  };

  Circle(int64_t w, int64_t h, int64_t centre, int64_t radius);

  Iterator begin() const { return {first_, last_, this}; }
  Iterator end() const { return {last_, last_, this}; }

 private:
  bool contains(const CircleOffset& offset) const {
    const int64_t x = cx_ + offset.dx;
    const int64_t y = cy_ + offset.dy;
    return x >= 0 && x < w_ && y >= 0 && y < h_;
  }

  int64_t w_;
  int64_t h_;
  int64_t cx_;
  int64_t cy_;
  const CircleOffset* first_;
  const CircleOffset* last_;
};

// The tile indices of the circle around centre on a w x h grid, in circle order.
std::vector<int64_t> circleIndices(int64_t w, int64_t h, int64_t centre, int64_t radius);

// The same for a grid; only its width and height are read.
template <typename T>
std::vector<int64_t> circleIndices(const Grid<T>& grid, int64_t centre, int64_t radius) {
  return circleIndices(grid.w, grid.h, centre, radius);
}

}  // namespace varnholt::geometry
