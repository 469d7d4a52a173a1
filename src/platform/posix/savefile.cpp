#include "platform/savefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "model/error.h"

namespace varnholt::platform {

namespace {

// Where an output file goes: the file replaced or created (path itself, or what a
// link at path points to), its directory, and the permissions it has now.
struct Destination {
  std::string file;
  std::string directory;
  bool exists = false;
  mode_t mode = 0;
};

std::string reason(int error) { return std::generic_category().message(error); }

// The system's reason for refusing path, in the form the file writer has
// always used.
[[noreturn]] void throwSystemError(int error, const std::string& path) {
  throw exception(reason(error) + "\nAdditional info: " + path);
}

[[noreturn]] void refuse(const std::string& path, const std::string& what) {
  throw exception("Refusing output path " + path + ": " + what);
}

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

// True when file is what standard output or error is open on: a file written
// there would be mixed with the console lines.
bool isStandardStream(const struct stat& file) {
  for (int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat open {};
    if (::fstat(descriptor, &open) == 0 && open.st_dev == file.st_dev &&
        open.st_ino == file.st_ino) {
      return true;
    }
  }
  return false;
}

std::string directoryOf(const std::string& file) {
  const std::string parent = std::filesystem::path(file).parent_path().string();
  return parent.empty() ? "." : parent;
}

Destination destination(const std::string& path) {
  Destination d;
  struct stat target {};
  struct stat link {};
  if (::stat(path.c_str(), &target) == 0) {
    if (!S_ISREG(target.st_mode)) refuse(path, kindOf(target.st_mode) + ", not a regular file");
    if (isStandardStream(target)) refuse(path, "it is this program's standard output or error");
    d.exists = true;
    d.mode = target.st_mode & 07777;
    d.file = path;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      char* resolved = ::realpath(path.c_str(), nullptr);
      if (resolved == nullptr) throwSystemError(errno, path);
      d.file = resolved;
      std::free(resolved);
    }
    if (::access(d.file.c_str(), W_OK) != 0) throwSystemError(errno, path);
  } else {
    if (errno != ENOENT) throwSystemError(errno, path);
    if (::lstat(path.c_str(), &link) == 0) refuse(path, "a link to a missing file");
    d.file = path;
  }
  d.directory = directoryOf(d.file);
  struct stat directory {};
  if (::stat(d.directory.c_str(), &directory) != 0) throwSystemError(errno, path);
  if (!S_ISDIR(directory.st_mode)) throwSystemError(ENOTDIR, path);
  if (::access(d.directory.c_str(), W_OK | X_OK) != 0) throwSystemError(errno, path);
  return d;
}

// Creates a new file in directory under a name no other run uses (the
// process id and a count) and returns its descriptor, or -1 with errno set.
int createTemporary(const Destination& d, std::string& name) {
  static std::atomic<uint64_t> count{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string file = ".varnholt-" + std::to_string(::getpid()) + "-" +
                             std::to_string(count.fetch_add(1)) + ".tmp";
    name = (std::filesystem::path(d.directory) / file).string();
    const int descriptor =
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, d.exists ? d.mode : 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

// Writes all of bytes; false with errno set when a write fails.
bool writeAll(int descriptor, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

// Makes the rename itself durable. The file is already complete at its name
// by then, so a failure here changes nothing and is not reported.
void syncDirectory(const std::string& directory) {
  const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

void checkOutputPath(const std::string& path) { destination(path); }

void saveFile(std::span<const uint8_t> bytes, const std::string& path) {
  const Destination d = destination(path);
  std::string temporary;
  const int descriptor = createTemporary(d, temporary);
  if (descriptor < 0) throwSystemError(errno, path);
  int error = 0;
  // open() applied the umask to the old file's permissions; fchmod restores them.
  if ((d.exists && ::fchmod(descriptor, d.mode) != 0) || !writeAll(descriptor, bytes) ||
      ::fsync(descriptor) != 0) {
    error = errno;
  }
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), d.file.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    throw exception("Failed to write path " + path + ": " + reason(error));
  }
  syncDirectory(d.directory);
}

}  // namespace varnholt::platform
