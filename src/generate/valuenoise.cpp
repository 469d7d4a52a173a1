#include "generate/valuenoise.h"

#include <cmath>

namespace varnholt::generate {

uint64_t mixKey(uint64_t key, uint64_t value) {
  uint64_t z = key + 0x9E3779B97F4A7C15ULL * (value + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double ValueNoise::corner(int64_t cx, int64_t cy, uint64_t salt) const {
  // Corners of maps up to 2^32 cells wide get distinct values.
  const uint64_t cell = (static_cast<uint64_t>(cy) << 32) ^ static_cast<uint64_t>(cx);
  const uint64_t h = mixKey(key_ + 0xD1B54A32D192ED03ULL * salt, cell);
  // The top 53 bits as a fraction, spread over -1..1.
  return static_cast<double>(h >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

double ValueNoise::layer(double x, double y, double cell, uint64_t salt) const {
  const double gx = x / cell;
  const double gy = y / cell;
  const double fx = std::floor(gx);
  const double fy = std::floor(gy);
  const auto cx = static_cast<int64_t>(fx);
  const auto cy = static_cast<int64_t>(fy);
  // Smoothstep weights, so the surface has no creases along the cell edges.
  const double tx = gx - fx;
  const double ty = gy - fy;
  const double wx = tx * tx * (3 - 2 * tx);
  const double wy = ty * ty * (3 - 2 * ty);
  Cell& c = last_[salt];
  if (!c.known || c.cx != cx || c.cy != cy) {
    c = {cx,
         cy,
         true,
         corner(cx, cy, salt),
         corner(cx + 1, cy, salt),
         corner(cx, cy + 1, salt),
         corner(cx + 1, cy + 1, salt)};
  }
  const double top = c.upperLeft + (c.upperRight - c.upperLeft) * wx;
  const double bottom = c.lowerLeft + (c.lowerRight - c.lowerLeft) * wx;
  return top + (bottom - top) * wy;
}

double ValueNoise::at(double x, double y) const { return layer(x, y, cell_, 0); }

double ValueNoise::layered(double x, double y) const {
  return 0.75 * layer(x, y, cell_, 0) + 0.25 * layer(x, y, cell_ / 2.5, 1);
}

}  // namespace varnholt::generate
