#include "geometry/gridturns.h"

#include <cmath>

namespace varnholt::geometry {

Offset turnedEighth(Offset o) {
  const double root2 = std::sqrt(2.0);
  return {std::lround(static_cast<double>(o.dx - o.dy) / root2),
          std::lround(static_cast<double>(o.dx + o.dy) / root2)};
}

}  // namespace varnholt::geometry
