#pragma once

#include <cstdint>
#include <string>

namespace varnholt::model {

// A player's people; 16 bits wide because NOT_DEFINED is 256.
enum class CivilizationType : uint16_t {
  ROMANS = 0,
  EGYPTIANS = 1,
  ASIANS = 2,
  AMAZONS = 3,
  FREE_CHOICE = 255,
  NOT_DEFINED = 256,
};

std::string name(CivilizationType type);

}  // namespace varnholt::model
