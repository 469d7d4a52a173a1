#include "geometry/tiles.h"

#include <cmath>

#include "varnholt/model/error.h"

namespace varnholt {

int64_t index(int64_t size, int64_t x, int64_t y) {
  int64_t product;
  int64_t sum;
  if (__builtin_mul_overflow(size, y, &product) || __builtin_add_overflow(x, product, &sum)) {
    throw exception("Integer overflow in tile index");
  }
  return sum;
}

int64_t x(int64_t size, int64_t index) {
  if (size == 0) throw exception("Division by zero in tile column");
  if (size == -1) return 0;  // INT64_MIN % -1 would trap
  return index % size;
}

uint32_t x(uint32_t size, uint32_t index) {
  if (size == 0) throw exception("Division by zero in tile column");
  return index % size;
}

int64_t y(int64_t size, int64_t index) {
  if (size == 0) throw exception("Division by zero in tile row");
  return static_cast<int64_t>(static_cast<double>(index) / static_cast<double>(size));
}

int64_t y(uint32_t size, uint32_t index) {
  if (size == 0) throw exception("Division by zero in tile row");
  return static_cast<int64_t>(static_cast<double>(index) / static_cast<double>(size));
}

int64_t distance(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  int64_t dx;
  int64_t dy;
  if (__builtin_sub_overflow(x1, x2, &dx) || __builtin_sub_overflow(y1, y2, &dy) ||
      dx == INT64_MIN || dy == INT64_MIN) {
    throw exception("Integer overflow in distance");
  }
  float fx = static_cast<float>(dx < 0 ? -dx : dx);
  float fy = static_cast<float>(dy < 0 ? -dy : dy);
  float sum = fx * fx + fy * fy;
  return static_cast<int64_t>(std::sqrt(sum));
}

}  // namespace varnholt
