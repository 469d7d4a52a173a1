#include "platform/inputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "model/error.h"

namespace varnholt::platform {

namespace {

[[noreturn]] void cannotRead(const std::string& path, const std::string& reason) {
  throw exception("cannot read " + path + ": " + reason);
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  struct stat named {};
  if (::stat(path.c_str(), &named) != 0) cannotRead(path, std::generic_category().message(errno));
  if (!S_ISREG(named.st_mode)) cannotRead(path, "not a regular file");
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) cannotRead(path, std::generic_category().message(errno));
  struct stat opened {};
  if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(descriptor);
    cannotRead(path, "not a regular file");
  }
  handle_ = descriptor;
  size_ = static_cast<uint64_t>(opened.st_size);
}

InputFile::~InputFile() { ::close(static_cast<int>(handle_)); }

void InputFile::read(uint64_t offset, std::span<uint8_t> out) const {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(static_cast<int>(handle_), out.data() + done, out.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) cannotRead(path_, std::generic_category().message(errno));
    if (got == 0) cannotRead(path_, "the file shrank while it was read");
    done += static_cast<size_t>(got);
  }
}

}  // namespace varnholt::platform
