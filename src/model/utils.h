#pragma once

#include <cstdint>
#include <string_view>

// Tile coordinate arithmetic shared by every layer: tile (x, y) lives at
// index x + size * y, row-major.
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
int64_t y(int64_t size, int64_t index);
int64_t y(uint32_t size, uint32_t index);

// Floor of the Euclidean distance, computed in single precision.
int64_t distance(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// Packs the low nibbles of high and low into one byte, high nibble first; the
// high value's upper nibble is shifted out of the byte on purpose.
constexpr uint8_t createHighLow(uint8_t high, uint8_t low) {
  return static_cast<uint8_t>((high << 4) | (low & 15));
}

// Parses an optional sign, then decimal digits each optionally followed by
// any number of '_'. Throws ValueError "invalid integer: <text>" or
// "Parsed integer outside of valid range".
int64_t parseInteger(std::string_view text);

// Parses y/yes/true/1/on or n/no/false/0/off, ignoring case and '_'.
// Throws ValueError "cannot interpret as a bool: <text>".
bool parseBool(std::string_view text);

}  // namespace varnholt
