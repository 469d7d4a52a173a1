#include "varnholt/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "platform/posix/temporaries.h"
#include "platform/failures.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

using platform::createTemporary;
using platform::removeStaleTemporaries;

// Where a file goes: the file replaced or created (path itself, or what a link
// at path points to), its directory, and the permissions it has now.
struct Destination {
  std::string file;
  std::string directory;
  bool exists = false;
  mode_t mode = 0;
};

std::string reason(int error) { return std::generic_category().message(error); }

// The system refused to let a file be created beside path.
[[noreturn]] void throwSystemError(int error, const std::string& path, Wording wording) {
  failures::cannotCreate(reason(error), path, wording);
}

// Path names something that cannot take a file.
[[noreturn]] void refuse(const std::string& path, const std::string& what, Wording wording) {
  failures::refuse(path, what, wording);
}

// Writing, syncing or renaming the file failed.
[[noreturn]] void throwWriteError(int error, const std::string& path, Wording wording) {
  failures::cannotWrite(reason(error), path, wording);
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

// True when a rename could not replace file in directory: in a sticky
// directory only the owner of the file or of the directory (or root) may.
bool stickyForbids(const struct stat& directory, const struct stat& file) {
  const uid_t user = ::geteuid();
  return (directory.st_mode & S_ISVTX) != 0 && user != 0 && file.st_uid != user &&
         directory.st_uid != user;
}

std::string directoryOf(const std::string& file) {
  const std::string parent = std::filesystem::path(file).parent_path().string();
  return parent.empty() ? "." : parent;
}

Destination destination(const std::string& path, Wording wording) {
  Destination d;
  struct stat target {};
  struct stat link {};
  if (::stat(path.c_str(), &target) == 0) {
    if (!S_ISREG(target.st_mode)) {
      refuse(path, kindOf(target.st_mode) + ", not a regular file", wording);
    }
    if (isStandardStream(target)) {
      refuse(path, "it is this program's standard output or error", wording);
    }
    d.exists = true;
    d.mode = target.st_mode & 07777;
    d.file = path;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      char* resolved = ::realpath(path.c_str(), nullptr);
      if (resolved == nullptr) throwSystemError(errno, path, wording);
      d.file = resolved;
      std::free(resolved);
    }
    if (::access(d.file.c_str(), W_OK) != 0) throwSystemError(errno, path, wording);
  } else {
    if (errno != ENOENT) throwSystemError(errno, path, wording);
    if (::lstat(path.c_str(), &link) == 0) refuse(path, "a link to a missing file", wording);
    d.file = path;
  }
  d.directory = directoryOf(d.file);
  struct stat directory {};
  if (::stat(d.directory.c_str(), &directory) != 0) throwSystemError(errno, path, wording);
  if (!S_ISDIR(directory.st_mode)) throwSystemError(ENOTDIR, path, wording);
  if (::access(d.directory.c_str(), W_OK | X_OK) != 0) throwSystemError(errno, path, wording);
  if (d.exists && stickyForbids(directory, target)) throwSystemError(EPERM, path, wording);
  return d;
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
void syncDirectory(int directory) {
  const int descriptor = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

struct PendingFile::System {
  int directory = -1;   // opened with O_PATH: for the *at calls only
  std::string target;   // the name the file takes in that directory
  int descriptor = -1;  // of the temporary file
  int writeError = 0;   // errno of the first failed write
};

PendingFile::PendingFile(const std::string& path, Wording wording)
    : path_(path), wording_(wording), system_(std::make_unique<System>()) {
  const Destination d = destination(path, wording);
  // The temporary file and the rename are reached through a descriptor of the
  // directory, so they work however long the directory's path is.
  System& s = *system_;
  s.directory = ::open(d.directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (s.directory < 0) throwSystemError(errno, path, wording);
  s.target = std::filesystem::path(d.file).filename().string();
  removeStaleTemporaries(s.directory);
  s.descriptor = createTemporary(s.directory, d.exists ? d.mode : 0666, temporary_);
  const int error = errno;
  if (s.descriptor < 0) {
    ::close(s.directory);
    throwSystemError(error, path, wording);
  }
  // open() applied the umask to the old file's permissions; fchmod restores them.
  if (d.exists && ::fchmod(s.descriptor, d.mode) != 0) s.writeError = errno;
}

PendingFile::~PendingFile() {
  if (system_->descriptor >= 0) ::close(system_->descriptor);
  if (!committed_) removeTemporary();
  ::close(system_->directory);
}

void PendingFile::write(std::span<const uint8_t> bytes) noexcept {
  if (system_->writeError == 0 && !writeAll(system_->descriptor, bytes)) {
    system_->writeError = errno;
  }
}

bool PendingFile::failed() const { return system_->writeError != 0; }

void PendingFile::removeTemporary() const noexcept {
  ::unlinkat(system_->directory, temporary_.c_str(), 0);
}

void PendingFile::commit() {
  System& s = *system_;
  int error = s.writeError;
  if (error == 0 && ::fsync(s.descriptor) != 0) error = errno;
  if (::close(s.descriptor) != 0 && error == 0) error = errno;
  s.descriptor = -1;
  if (error == 0 &&
      ::renameat(s.directory, temporary_.c_str(), s.directory, s.target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) throwWriteError(error, path_, wording_);
  committed_ = true;
  syncDirectory(s.directory);
}

}  // namespace varnholt::mapfile
