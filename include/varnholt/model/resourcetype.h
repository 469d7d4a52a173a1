#pragma once

#include <cstdint>
#include <string>

namespace varnholt::model {

// What lies under a tile (or swims in it); the code fits the file's 4 bits.
enum class ResourceType : uint8_t {
  FISH = 0,
  COAL = 1,
  IRONORE = 2,
  GOLDORE = 3,
  GEMS = 4,
  SULFUR = 5,
  NOT_A_RESOURCE_TYPE = 6,
};

std::string name(ResourceType type);

}  // namespace varnholt::model
