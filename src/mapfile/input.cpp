#include "mapfile/input.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "mapfile/coding.h"
#include "platform/inputfile.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

// Bytes that are only skipped are read in pieces of this many.
constexpr uint64_t kSkipPieceBytes = uint64_t{1} << 20;

// An open regular file, read from its start; closed with the input.
class FileInput final : public Input {
 public:
  explicit FileInput(const std::string& path) : file_(path) {}
  uint64_t size() const override { return file_.size(); }
  void read(std::span<uint8_t> out) override { file_.read(out); }

 private:
  platform::InputFile file_;
};

}  // namespace

void MemoryInput::read(std::span<uint8_t> out) {
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset_, out.size());
  offset_ += out.size();
}

std::unique_ptr<Input> openMapFile(const std::string& path) {
  auto input = std::make_unique<FileInput>(path);
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
