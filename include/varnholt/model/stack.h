#pragma once

#include <cstdint>

#include "varnholt/model/stacktype.h"

namespace varnholt::model {

// One pile of goods on a tile.
struct Stack {
  StackType stackType = StackType::NOT_A_STACK;
  uint16_t posX = 0;
  uint16_t posY = 0;
  uint8_t count = 0;

  bool operator==(const Stack&) const = default;
};

}  // namespace varnholt::model
