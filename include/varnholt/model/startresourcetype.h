#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnholt::model {

// Start goods level; the command line reaches LOW, MEDIUM and HIGH.
enum class StartResourcesType : uint8_t {
  CUSTOM = 0,
  LOW = 1,
  MEDIUM = 2,
  HIGH = 3,
};

std::string name(StartResourcesType type);

// "HG" -> HIGH, "MG" -> MEDIUM, "LG" -> LOW, compared exactly; anything else
// throws Exception "Illegal start goods key".
StartResourcesType getStartResourcesTypeFromKey(std::string_view key);

}  // namespace varnholt::model
