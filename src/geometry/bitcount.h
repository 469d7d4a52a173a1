#pragma once

#include <cstdint>

namespace varnholt::geometry {

// The set bits of a word, written out so the compiler inlines and
// vectorises it where the target has no popcount instruction of its own
// (the generic x86-64 target calls a library function for std::popcount).
constexpr int64_t bitCount(uint64_t w) {
  w = w - ((w >> 1) & 0x5555555555555555u);
  w = (w & 0x3333333333333333u) + ((w >> 2) & 0x3333333333333333u);
  w = (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int64_t>((w * 0x0101010101010101u) >> 56);
}

}  // namespace varnholt::geometry
