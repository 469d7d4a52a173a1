#include "mapfile/save.h"

namespace varnholt::mapfile {

void saveMapFile(std::span<const uint8_t> bytes, const std::string& path) {
  PendingFile file(path, Wording::MAP_FILE);
  file.write(bytes);
  file.commit();
}

}  // namespace varnholt::mapfile
