#pragma once

#include <cstdint>
#include <span>
#include <string>

// Reading a regular file by offset, piece by piece. One implementation per
// system: posix/inputfile.cpp and windows/inputfile.cpp.
namespace varnholt::platform {

// A regular file open for reading. Not for use from several threads at once.
class InputFile {
 public:
  // Opens the file at path (UTF-8). Throws Exception "cannot read <path>:
  // <reason>" when it cannot be opened, with the reason "not a regular file"
  // for a directory, device, FIFO or the like.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The size the file had when it was opened.
  uint64_t size() const { return size_; }

  // Fills out with the bytes from offset on, which lie within size(). Throws
  // Exception "cannot read <path>: <reason>" when they cannot be read, such
  // as when the file shrank meanwhile.
  void read(uint64_t offset, std::span<uint8_t> out) const;

 private:
  std::string path_;
  intptr_t handle_ = -1;  // the system's descriptor or handle
  uint64_t size_ = 0;
};

}  // namespace varnholt::platform
