#include "generate/heightfield.h"

#include <algorithm>
#include <string>
#include <vector>

#include "generate/random.h"
#include "varnholt/model/error.h"

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
  // A window one tile wide or high takes its left or top corners there.
  double fx = cell.w > 1 ? static_cast<double>(dx) / (static_cast<double>(cell.w) - 1.0) : 0.0;
  double fy = cell.h > 1 ? static_cast<double>(dy) / (static_cast<double>(cell.h) - 1.0) : 0.0;
  uint8_t left = interpolate(a(cell), c(cell), fy);
  uint8_t right = interpolate(b(cell), d(cell), fy);
  return interpolate(left, right, fx);
}

namespace {

// dx / (width - 1) for every dx of a cell width tiles wide, as calculateValue
// divides; 0 for a cell one tile wide.
std::vector<double> cellFractions(int64_t width) {
  std::vector<double> fractions(static_cast<size_t>(width < 0 ? 0 : width), 0.0);
  for (int64_t d = 0; width > 1 && d < width; ++d) {
    fractions[static_cast<size_t>(d)] = static_cast<double>(d) / (static_cast<double>(width) - 1.0);
  }
  return fractions;
}

// Sets every value of the cell to calculateValue, with the fractions of its
// width and of its height. The corners keep their values (each is its own
// interpolation), so they are read once, and each row's two edge values serve
// the whole row: the same operations on the same operands as calculateValue,
// so the same bits.
void fillCell(SubGrid& cell, const std::vector<double>& across, const std::vector<double>& down) {
  const uint8_t topLeft = a(cell);
  const uint8_t topRight = b(cell);
  const uint8_t bottomLeft = c(cell);
  const uint8_t bottomRight = d(cell);
  for (int64_t dy = 0; dy < cell.h; ++dy) {
    const double fy = down[static_cast<size_t>(dy)];
    const uint8_t left = interpolate(topLeft, bottomLeft, fy);
    const uint8_t right = interpolate(topRight, bottomRight, fy);
    uint8_t* row = &cell.grid->data[static_cast<size_t>(cell.x + (cell.y + dy) * cell.grid->w)];
    for (int64_t dx = 0; dx < cell.w; ++dx) {
      row[dx] = interpolate(left, right, across[static_cast<size_t>(dx)]);
    }
  }
}

// First tile of cell k when size tiles are split into count cells whose
// widths differ by at most one tile; k = count gives size.
int64_t cellStart(int64_t k, int64_t size, int64_t count) { return k * size / count; }

}  // namespace

Grid<uint8_t> generate(Random& random, int64_t size, int64_t step, int64_t variance) {
  if (size < 0 && size % step != 0) {
    throw exception("Illegal generate size " + std::to_string(size));
  }
  Grid<uint8_t> result(size < 0 ? 0 : size, size < 0 ? 0 : size);
  // A whole number of cells keeps cells of exactly step tiles. Any other size
  // is split into size / step cells (at least one) of step to 2 * step - 1
  // tiles rather than built larger and cropped: a crop would cut through the
  // last cells and leave heights up to the variance on the field's right and
  // bottom edges, while spread cells keep every edge 0 and slopes no steeper
  // than in step-tile cells.
  const int64_t n = size <= 0 ? 0 : std::max<int64_t>(1, size / step);
  const int64_t narrow = n > 0 ? size / n : 0;
  const std::vector<double> narrowFractions = cellFractions(narrow);
  const std::vector<double> wideFractions = cellFractions(narrow + 1);
  const auto fractions = [&](int64_t width) -> const std::vector<double>& {
    return width == narrow ? narrowFractions : wideFractions;
  };
  for (int64_t cy = 0; cy < n; ++cy) {
    const int64_t y0 = cellStart(cy, size, n);
    const int64_t h = cellStart(cy + 1, size, n) - y0;
    for (int64_t cx = 0; cx < n; ++cx) {
      const int64_t x0 = cellStart(cx, size, n);
      const int64_t w = cellStart(cx + 1, size, n) - x0;
      SubGrid cell{&result, w, h, x0, y0};
      // Corners shared with the cell above (its bottom row) and to the left
      // (its right column).
      setA(cell, cy > 0 ? value(result, x0, y0 - 1) : 0);
      setB(cell, cy > 0 ? value(result, x0 + w - 1, y0 - 1) : 0);
      setC(cell, cx > 0 ? value(result, x0 - 1, y0 + h - 1) : 0);
      // Only the low 8 bits of the draw are stored, on purpose.
      setD(cell, cx != n - 1 && cy != n - 1 ? static_cast<uint8_t>(random.rand(variance)) : 0);
      fillCell(cell, fractions(w), fractions(h));
    }
  }
  return result;
}

Grid<uint8_t> generateWithBorder(Random& random, int64_t size, int64_t border) {
  Grid<uint8_t> inner = generate(random, size - 2 * border, 20, 60);
  Grid<uint8_t> result(size, size);
  for (int64_t y = 0; y < inner.h; ++y) {
    std::copy_n(&inner.data[static_cast<size_t>(y * inner.w)], inner.w,
                &result.data[static_cast<size_t>(border + (y + border) * size)]);
  }
  return result;
}

}  // namespace varnholt::generate
