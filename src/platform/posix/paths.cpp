#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

namespace varnholt::platform {

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::FILE* openForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

void removeRegularFile(const std::string& path) {
  struct stat file {};
  if (::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode)) ::unlink(path.c_str());
}

}  // namespace varnholt::platform
