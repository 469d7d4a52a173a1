#include "varnholt/model/startresourcetype.h"

#include "varnholt/model/error.h"

namespace varnholt::model {

std::string name(StartResourcesType type) {
  switch (type) {
    case StartResourcesType::CUSTOM: return "CUSTOM";
    case StartResourcesType::LOW: return "LOW";
    case StartResourcesType::MEDIUM: return "MEDIUM";
    case StartResourcesType::HIGH: return "HIGH";
  }
  return "UNKNOWN_" + std::to_string(static_cast<unsigned>(type));
}

StartResourcesType getStartResourcesTypeFromKey(std::string_view key) {
  if (key == "HG") return StartResourcesType::HIGH;
  if (key == "MG") return StartResourcesType::MEDIUM;
  if (key == "LG") return StartResourcesType::LOW;
  throw exception("Illegal start goods key");
}

}  // namespace varnholt::model
