#include "generate/heightfield.h"

#include <algorithm>
#include <vector>

#include "model/error.h"
#include "generate/random.h"

namespace varnholt::generate {

uint8_t value(const SubGrid& cell, int64_t x, int64_t y) {
  return value(*cell.grid, cell.x + x, cell.y + y);
}

void setValue(SubGrid& cell, int64_t x, int64_t y, uint8_t v) {
  setValue(*cell.grid, cell.x + x, cell.y + y, v);
}

uint8_t a(const SubGrid& cell) { return value(cell, 0, 0); }
uint8_t b(const SubGrid& cell) { return value(cell, cell.w - 1, 0); }
uint8_t c(const SubGrid& cell) { return value(cell, 0, cell.h - 1); }
uint8_t d(const SubGrid& cell) { return value(cell, cell.w - 1, cell.h - 1); }
void setA(SubGrid& cell, uint8_t v) { setValue(cell, 0, 0, v); }
void setB(SubGrid& cell, uint8_t v) { setValue(cell, cell.w - 1, 0, v); }
void setC(SubGrid& cell, uint8_t v) { setValue(cell, 0, cell.h - 1, v); }
void setD(SubGrid& cell, uint8_t v) { setValue(cell, cell.w - 1, cell.h - 1, v); }

uint8_t interpolate(uint8_t p, uint8_t q, double t) {
  // Each operation is rounded on its own (the build disables FMA contraction).
  double difference = static_cast<double>(q) - static_cast<double>(p);
  double scaled = difference * t;
  double result = scaled + static_cast<double>(p);
  // Truncate to 32 bits, then keep the low byte on purpose.
  return static_cast<uint8_t>(static_cast<int32_t>(result));
}

uint8_t calculateValue(const SubGrid& cell, int64_t dx, int64_t dy) {
  double fx = static_cast<double>(dx) / (static_cast<double>(cell.w) - 1.0);
  double fy = static_cast<double>(dy) / (static_cast<double>(cell.h) - 1.0);
  uint8_t left = interpolate(a(cell), c(cell), fy);
  uint8_t right = interpolate(b(cell), d(cell), fy);
  return interpolate(left, right, fx);
}

namespace {

// dx / (step - 1) for every dx of a cell, as calculateValue divides.
std::vector<double> cellFractions(int64_t step) {
  std::vector<double> fractions(static_cast<size_t>(step < 0 ? 0 : step));
  for (int64_t d = 0; d < step; ++d) {
    fractions[static_cast<size_t>(d)] = static_cast<double>(d) / (static_cast<double>(step) - 1.0);
  }
  return fractions;
}

// Sets every value of the square cell to calculateValue. The corners keep
// their values (each is its own interpolation), so they are read once, and
// each row's two edge values serve the whole row: the same operations on the
// same operands as calculateValue, so the same bits.
void fillCell(SubGrid& cell, const std::vector<double>& fractions) {
  const uint8_t topLeft = a(cell);
  const uint8_t topRight = b(cell);
  const uint8_t bottomLeft = c(cell);
  const uint8_t bottomRight = d(cell);
  for (int64_t dy = 0; dy < cell.h; ++dy) {
    const double fy = fractions[static_cast<size_t>(dy)];
    const uint8_t left = interpolate(topLeft, bottomLeft, fy);
    const uint8_t right = interpolate(topRight, bottomRight, fy);
    uint8_t* row = &cell.grid->data[static_cast<size_t>(cell.x + (cell.y + dy) * cell.grid->w)];
    for (int64_t dx = 0; dx < cell.w; ++dx) {
      row[dx] = interpolate(left, right, fractions[static_cast<size_t>(dx)]);
    }
  }
}

}  // namespace

Grid<uint8_t> generate(Random& random, int64_t size, int64_t step, int64_t variance) {
  if (size % step != 0) throw exception("Illegal generate size " + std::to_string(size));
  const std::vector<double> fractions = cellFractions(step);
  Grid<uint8_t> result(size < 0 ? 0 : size, size < 0 ? 0 : size);
  const int64_t n = static_cast<int64_t>(static_cast<double>(size) / static_cast<double>(step));
  for (int64_t cy = 0; cy < n; ++cy) {
    for (int64_t cx = 0; cx < n; ++cx) {
      SubGrid cell{&result, step, step, cx * step, cy * step};
      SubGrid above{&result, step, step, cx * step, (cy - 1) * step};
      SubGrid left{&result, step, step, (cx - 1) * step, cy * step};
      setA(cell, cy > 0 ? c(above) : 0);
      setB(cell, cy > 0 ? d(above) : 0);
      setC(cell, cx > 0 ? d(left) : 0);
      // Only the low 8 bits of the draw are stored, on purpose.
      setD(cell, cx != n - 1 && cy != n - 1 ? static_cast<uint8_t>(random.rand(variance)) : 0);
      fillCell(cell, fractions);
    }
  }
  return result;
}

Grid<uint8_t> generateWithBorder(Random& random, int64_t size, int64_t border) {
  Grid<uint8_t> inner = generate(random, size - 2 * border, 20, 60);
  Grid<uint8_t> result(size, size);
  for (int64_t y = 0; y < inner.h; ++y) {
    std::copy_n(&inner.data[static_cast<size_t>(y * inner.w)], inner.w,
                &result.data[static_cast<size_t>(20 + (y + 20) * size)]);
  }
  return result;
}

}  // namespace varnholt::generate
