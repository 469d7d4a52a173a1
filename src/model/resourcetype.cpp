#include "varnholt/model/resourcetype.h"

#include <array>
#include <string_view>

namespace varnholt::model {

std::string name(ResourceType type) {
  static constexpr auto kNames = std::to_array<std::string_view>(
      {"FISH", "COAL", "IRONORE", "GOLDORE", "GEMS", "SULFUR", "NOT_A_RESOURCE_TYPE"});
  static_assert(kNames.size() == static_cast<size_t>(ResourceType::NOT_A_RESOURCE_TYPE) + 1,
                "one name per resource code");
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
