#include "varnholt/model/civilizationtype.h"

namespace varnholt::model {

std::string name(CivilizationType type) {
  switch (type) {
    case CivilizationType::ROMANS: return "ROMANS";
    case CivilizationType::EGYPTIANS: return "EGYPTIANS";
    case CivilizationType::ASIANS: return "ASIANS";
    case CivilizationType::AMAZONS: return "AMAZONS";
    case CivilizationType::FREE_CHOICE: return "FREE_CHOICE";
    case CivilizationType::NOT_DEFINED: return "NOT_DEFINED";
  }
  return "UNKNOWN_" + std::to_string(static_cast<unsigned>(type));
}

}  // namespace varnholt::model
