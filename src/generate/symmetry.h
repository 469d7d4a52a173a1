#pragma once

#include <cstdint>

#include "generate/compass.h"
#include "generate/fairstages.h"

// The tile symmetries of symmetric maps. Element 0 is the identity, 1 the
// point reflection (x, y) -> (S-1-x, S-1-y), 2 the diagonal mirror
// (x, y) -> (y, x) and 3 both, (x, y) -> (S-1-y, S-1-x). Each keeps the six
// neighbours of a tile and maps the square onto itself.
namespace varnholt::generate {

// Number of elements of the symmetry: 1, 2 or 4.
int64_t symmetryOrder(StartSymmetry symmetry);

// The image of tile under element of a size x size map.
Tile image(int64_t element, int64_t size, Tile tile);

}  // namespace varnholt::generate
