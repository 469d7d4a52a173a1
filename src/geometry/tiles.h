#pragma once

#include <cstdint>

// Tile coordinate arithmetic: tile (x, y) of a square map lives at index
// x + size * y, row-major.
namespace varnholt {

// x + size * y; throws Error("Exception") when the product or sum overflows.
int64_t index(int64_t size, int64_t x, int64_t y);
// x + size * y, wrapping modulo 2^32 on purpose (the 32-bit layer arithmetic).
constexpr uint32_t index(uint32_t size, uint32_t x, uint32_t y) { return x + size * y; }

// Column of a tile: index mod size, remainder with the sign of index.
// Throws Error("Exception") for size 0.
int64_t x(int64_t size, int64_t index);
uint32_t x(uint32_t size, uint32_t index);

// Row of a tile: index / size computed in double precision, truncated.
// Throws Error("Exception") for size 0.
int64_t y(int64_t size, int64_t index);
int64_t y(uint32_t size, uint32_t index);

// Floor of the Euclidean distance, computed in single precision.
int64_t distance(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

}  // namespace varnholt
