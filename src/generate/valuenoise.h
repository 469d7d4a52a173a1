#pragma once

#include <cstdint>

// Smooth noise over the tile plane from a 64-bit key, for outlines that
// differ from start to start: the shapes of mountains, lakes, woods and
// rock, and the roll of the ground. Only additions, multiplications and
// floor, so a key gives the same values on every machine and in the browser.
namespace varnholt::generate {

// Remembers the corners of the cell it read last, so one object is not to be
// shared between threads.
class ValueNoise {
 public:
  // Noise whose features are about cell tiles across (cell > 0).
  ValueNoise(uint64_t key, double cell) : key_(key), cell_(cell) {}

  // A value in -1..1 at tile (x, y); neighbouring tiles differ by little.
  double at(double x, double y) const;

  // Two layers summed: features of cell tiles and of cell / 2.5 tiles at a
  // third of the weight; still -1..1.
  double layered(double x, double y) const;

 private:
  // The corner values of one cell of one layer.
  struct Cell {
    int64_t cx = 0, cy = 0;
    bool known = false;
    double upperLeft = 0, upperRight = 0, lowerLeft = 0, lowerRight = 0;
  };

  double corner(int64_t cx, int64_t cy, uint64_t salt) const;
  double layer(double x, double y, double cell, uint64_t salt) const;

  uint64_t key_;
  double cell_;
  mutable Cell last_[2];  // per layer
};

// Mixes a value into a key (splitmix64's finaliser), for keys derived from
// several numbers.
uint64_t mixKey(uint64_t key, uint64_t value);

}  // namespace varnholt::generate
