#include "synclog.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <mutex>

namespace varnholt::testing {
namespace {

std::mutex logged;
std::vector<SyncCall>* active = nullptr;

void record(const char* function, const struct stat& file, const char* name) {
  const std::lock_guard lock(logged);
  if (active != nullptr) active->push_back({function, file.st_ino, name});
}

void recordDescriptor(const char* function, int descriptor) {
  struct stat file {};
  if (::fstat(descriptor, &file) == 0) record(function, file, "");
}

template <typename Function>
Function* next(const char* name) {
  return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

SyncLog::SyncLog() {
  const std::lock_guard lock(logged);
  active = new std::vector<SyncCall>;
}

SyncLog::~SyncLog() {
  const std::lock_guard lock(logged);
  delete active;
  active = nullptr;
}

std::vector<SyncCall> SyncLog::calls() const {
  const std::lock_guard lock(logged);
  return *active;
}

}  // namespace varnholt::testing

extern "C" int fsync(int descriptor) {
  static auto* const real = varnholt::testing::next<int(int)>("fsync");
  varnholt::testing::recordDescriptor("fsync", descriptor);
  return real(descriptor);
}

extern "C" int fdatasync(int descriptor) {
  static auto* const real = varnholt::testing::next<int(int)>("fdatasync");
  varnholt::testing::recordDescriptor("fdatasync", descriptor);
  return real(descriptor);
}

extern "C" int renameat(int fromDirectory, const char* from, int toDirectory,
                        const char* to) noexcept {
  static auto* const real = varnholt::testing::next<int(int, const char*, int, const char*)>(
      "renameat");
  struct stat file {};
  if (::fstatat(fromDirectory, from, &file, AT_SYMLINK_NOFOLLOW) == 0) {
    varnholt::testing::record("renameat", file, to);
  }
  return real(fromDirectory, from, toDirectory, to);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static auto* const real = varnholt::testing::next<int(const char*, const char*)>("rename");
  struct stat file {};
  if (::lstat(from, &file) == 0) varnholt::testing::record("rename", file, to);
  return real(from, to);
}
