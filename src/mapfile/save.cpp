#include "mapfile/save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/error.h"

namespace varnholt::mapfile {

void saveMapFile(std::span<const uint8_t> bytes, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    throw exception(std::string(std::strerror(errno)) + "\nAdditional info: " + path);
  }
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw exception("Failed to write path " + path);
}

}  // namespace varnholt::mapfile
