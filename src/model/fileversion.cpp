#include "varnholt/model/fileversion.h"

namespace varnholt::model {

std::string name(FileVersion version) {
  switch (version) {
    case FileVersion::ORIGINAL: return "ORIGINAL";
    case FileVersion::AMAZONS: return "AMAZONS";
  }
  return "UNKNOWN_" + std::to_string(static_cast<unsigned>(version));
}

}  // namespace varnholt::model
