#pragma once

#include <cstdint>

#include "generate/random.h"
#include "varnholt/model/grid.h"

// The smooth random field generator that shapes heights, ground variation,
// object density and resources: random lattice points in cells of about one
// step a side, filled in bilinearly.
namespace varnholt::generate {

using model::Grid;

// A w x h window onto a byte grid, top-left cell at (x, y).
struct SubGrid {
  Grid<uint8_t>* grid;
  int64_t w;
  int64_t h;
  int64_t x;
  int64_t y;
};

uint8_t value(const SubGrid& cell, int64_t x, int64_t y);
void setValue(SubGrid& cell, int64_t x, int64_t y, uint8_t v);

// Corners: a top-left, b top-right, c bottom-left, d bottom-right.
uint8_t a(const SubGrid& cell);
uint8_t b(const SubGrid& cell);
uint8_t c(const SubGrid& cell);
uint8_t d(const SubGrid& cell);
void setA(SubGrid& cell, uint8_t v);
void setB(SubGrid& cell, uint8_t v);
void setC(SubGrid& cell, uint8_t v);
void setD(SubGrid& cell, uint8_t v);

// (q - p) * t + p in double precision, truncated, low 8 bits kept.
uint8_t interpolate(uint8_t p, uint8_t q, double t);

// Bilinear value at (dx, dy) inside the window, from its four corners; a
// window one tile wide or high takes its left or top corners there.
uint8_t calculateValue(const SubGrid& cell, int64_t dx, int64_t dy);

// A size x size field of square-ish cells whose inner lattice points are
// rand(variance) draws in row-major cell order, edges 0. When step divides
// size the cells are step x step; otherwise there are max(1, size / step)
// cells a side, step to 2 * step - 1 tiles wide, widths differing by at most
// one. A negative multiple of step gives an empty field. Throws Exception
// "Illegal generate size <size>" for any other negative size.
Grid<uint8_t> generate(Random& random, int64_t size, int64_t step, int64_t variance);

// generate(size - 2 * border, 20, 60) copied at offset (border, border) into
// a size x size field of zeros. Throws as generate does when the frame leaves
// a negative inner size that is not a multiple of 20.
Grid<uint8_t> generateWithBorder(Random& random, int64_t size, int64_t border);

}  // namespace varnholt::generate
