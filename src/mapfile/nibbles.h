#pragma once

#include <cstdint>

// Two small values packed into one byte of a map file record.
namespace varnholt {

// Packs the low nibbles of high and low into one byte, high nibble first; the
// high value's upper nibble is shifted out of the byte on purpose.
constexpr uint8_t createHighLow(uint8_t high, uint8_t low) {
  return static_cast<uint8_t>((high << 4) | (low & 15));
}

}  // namespace varnholt
