#include "platform/posix/temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <random>

namespace varnholt::platform {

namespace {

constexpr std::string_view kPrefix = ".varnholt-";
constexpr std::string_view kSuffix = ".tmp";

std::string randomHex(std::random_device& source) {
  static constexpr char kHex[] = "0123456789abcdef";
  const uint64_t value = (uint64_t{source()} << 32) ^ source();
  std::string hex(16, '0');
  for (int digit = 0; digit < 16; ++digit) hex[digit] = kHex[(value >> (60 - 4 * digit)) & 15];
  return hex;
}

// True when the file open at descriptor still has name in directory: it was
// not removed or replaced since it was opened.
bool stillNamed(int directory, const char* name, const struct stat& opened) {
  struct stat named {};
  return ::fstatat(directory, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

}  // namespace

bool isTemporaryName(std::string_view name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
         name.ends_with(kSuffix);
}

int createTemporary(int directory, mode_t mode, std::string& name) {
  std::random_device source;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = std::string(kPrefix) + std::to_string(::getpid()) + "-" + randomHex(source) +
           std::string(kSuffix);
    const int descriptor =
        ::openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor >= 0) {
      // Another run may only remove it once no process holds this lock.
      ::flock(descriptor, LOCK_EX | LOCK_NB);
      return descriptor;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

void removeStaleTemporaries(int directory) {
  const int listing = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* entries = ::fdopendir(listing);
  if (entries == nullptr) {
    ::close(listing);
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(entries)) {
    if (!isTemporaryName(entry->d_name)) continue;
    const int descriptor = ::openat(directory, entry->d_name,
                                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) continue;
    struct stat opened {};
    if (::fstat(descriptor, &opened) == 0 && S_ISREG(opened.st_mode) &&
        now - opened.st_mtime >= STALE_TEMPORARY_SECONDS &&
        ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
        stillNamed(directory, entry->d_name, opened)) {
      ::unlinkat(directory, entry->d_name, 0);
    }
    ::close(descriptor);
  }
  ::closedir(entries);
}

}  // namespace varnholt::platform
