#pragma once

#include <cstdint>
#include <span>
#include <string>

// Reading a regular file from its start to its end, piece by piece. One
// implementation per system: posix/inputfile.cpp and windows/inputfile.cpp.
namespace varnholt::platform {

// A regular file open for reading. Not for use from several threads at once.
class InputFile {
 public:
  // Opens the file at path (UTF-8) without blocking on anything else: the
  // path is opened first, then the opened file is checked, so a FIFO or
  // device (even one swapped in after a check) is refused unread. Throws
  // Exception "cannot read <path>: <reason>" when it cannot be opened, with
  // the reason "not a regular file" for a directory, device, FIFO or the like.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The size the file had when it was opened.
  uint64_t size() const { return size_; }

  // Fills out with the next out.size() bytes, which lie within size(). Throws
  // Exception "cannot read <path>: <reason>" when they cannot be read, such
  // as when the file shrank meanwhile.
  void read(std::span<uint8_t> out);

 private:
  std::string path_;
  intptr_t handle_ = -1;  // the system's descriptor or handle
  uint64_t size_ = 0;
};

}  // namespace varnholt::platform
