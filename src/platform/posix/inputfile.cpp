#include "platform/inputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "varnholt/model/error.h"

namespace varnholt::platform {

namespace {

[[noreturn]] void cannotRead(const std::string& path, const std::string& reason) {
  throw exception("cannot read " + path + ": " + reason);
}

std::string systemReason(int error) { return std::generic_category().message(error); }

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  // Non-blocking, so that opening a FIFO without a writer returns at once;
  // no controlling terminal, should the path name one.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (descriptor < 0) cannotRead(path, systemReason(errno));
  struct stat opened {};
  if (::fstat(descriptor, &opened) != 0) {
    const int error = errno;
    ::close(descriptor);
    cannotRead(path, systemReason(error));
  }
  if (!S_ISREG(opened.st_mode)) {
    ::close(descriptor);
    cannotRead(path, "not a regular file");
  }
  // A regular file never blocks; reads go back to the usual mode all the same.
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(descriptor);
    cannotRead(path, systemReason(error));
  }
  handle_ = descriptor;
  size_ = static_cast<uint64_t>(opened.st_size);
}

InputFile::~InputFile() { ::close(static_cast<int>(handle_)); }

void InputFile::read(std::span<uint8_t> out) {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::read(static_cast<int>(handle_), out.data() + done, out.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) cannotRead(path_, systemReason(errno));
    if (got == 0) cannotRead(path_, "the file shrank while it was read");
    done += static_cast<size_t>(got);
  }
}

}  // namespace varnholt::platform
