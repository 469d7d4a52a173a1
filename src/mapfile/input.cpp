#include "mapfile/input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "mapfile/coding.h"
#include "model/error.h"

namespace varnholt::mapfile {

namespace {

// Bytes that are only skipped are read in pieces of this many.
constexpr uint64_t kSkipPieceBytes = uint64_t{1} << 20;

std::string systemReason(int error) { return std::generic_category().message(error); }

// An open regular file, read from its start; closed with the input.
class FileInput final : public Input {
 public:
  FileInput(int descriptor, uint64_t size, std::string path)
      : descriptor_(descriptor), size_(size), path_(std::move(path)) {}
  ~FileInput() override { ::close(descriptor_); }
  FileInput(const FileInput&) = delete;
  FileInput& operator=(const FileInput&) = delete;

  uint64_t size() const override { return size_; }

  void read(std::span<uint8_t> out) override {
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t got = ::read(descriptor_, out.data() + done, out.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw exception("cannot read " + path_ + ": " + systemReason(errno));
      if (got == 0) throw exception("cannot read " + path_ + ": the file shrank while it was read");
      done += static_cast<size_t>(got);
    }
  }

 private:
  int descriptor_;
  uint64_t size_;
  std::string path_;
};

}  // namespace

void MemoryInput::read(std::span<uint8_t> out) {
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset_, out.size());
  offset_ += out.size();
}

std::unique_ptr<Input> openMapFile(const std::string& path) {
  // Non-blocking, so that opening a FIFO without a writer returns at once;
  // no controlling terminal, should the path name one.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (descriptor < 0) throw exception("cannot read " + path + ": " + systemReason(errno));
  struct stat opened {};
  if (::fstat(descriptor, &opened) != 0) {
    const int error = errno;
    ::close(descriptor);
    throw exception("cannot read " + path + ": " + systemReason(error));
  }
  if (!S_ISREG(opened.st_mode)) {
    ::close(descriptor);
    throw exception("cannot read " + path + ": not a regular file");
  }
  // A regular file never blocks; reads go back to the usual mode all the same.
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(descriptor);
    throw exception("cannot read " + path + ": " + systemReason(error));
  }
  auto input = std::make_unique<FileInput>(descriptor, static_cast<uint64_t>(opened.st_size), path);
  if (input->size() > MAX_MAP_FILE_BYTES) {
    throw exception(path + " has " + std::to_string(input->size()) +
                    " bytes; files over 512 MiB are not read");
  }
  return input;
}

void ByteStream::read(std::span<uint8_t> out) {
  if (out.size() > left()) {
    throw exception("the file ends " + std::to_string(left()) + " bytes after offset " +
                    std::to_string(offset_) + ", " + std::to_string(out.size()) + " are needed");
  }
  input_.read(out);
  std::span<const uint8_t> bytes = out;
  if (offset_ < 4) {  // the checksum word itself is not folded
    bytes = bytes.subspan(std::min<uint64_t>(bytes.size(), 4 - offset_));
  }
  offset_ += out.size();
  while (!bytes.empty() && wordBytes_ > 0) {
    word_[wordBytes_++] = bytes.front();
    bytes = bytes.subspan(1);
    if (wordBytes_ == word_.size()) {
      sum_ = foldChecksum(sum_, word_);
      wordBytes_ = 0;
    }
  }
  const size_t whole = bytes.size() / 4 * 4;
  sum_ = foldChecksum(sum_, bytes.first(whole));
  for (const uint8_t byte : bytes.subspan(whole)) word_[wordBytes_++] = byte;
}

void ByteStream::skip(uint64_t count) {
  std::vector<uint8_t> piece;
  while (count > 0) {
    piece.resize(std::min(count, kSkipPieceBytes));
    read(piece);
    count -= piece.size();
  }
}

}  // namespace varnholt::mapfile
