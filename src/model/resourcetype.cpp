#include "model/resourcetype.h"

#include <array>
#include <string_view>

namespace varnholt::model {

std::string name(ResourceType type) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "FISH", "COAL", "IRONORE", "GOLDORE", "GEMS", "SULFUR", "NOT_A_RESOURCE_TYPE"};
  auto code = static_cast<size_t>(type);
  if (code < kNames.size()) return std::string(kNames[code]);
  return "UNKNOWN_" + std::to_string(code);
}

}  // namespace varnholt::model
