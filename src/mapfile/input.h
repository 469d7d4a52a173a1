#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// Where the reader's bytes come from: memory or a file, taken once each from
// the first to the last, with the file checksum folded as they pass.
namespace varnholt::mapfile {

// Files above this size are refused before they are read.
inline constexpr uint64_t MAX_MAP_FILE_BYTES = uint64_t{512} << 20;

// The bytes of a map file, handed out in order.
class Input {
 public:
  virtual ~Input() = default;
  // How many bytes there are.
  virtual uint64_t size() const = 0;
  // Fills out with the next out.size() bytes; callers never ask past size().
  // Throws Exception when they cannot be read.
  virtual void read(std::span<uint8_t> out) = 0;
};

// Bytes held by the caller, which must outlive the input.
class MemoryInput final : public Input {
 public:
  explicit MemoryInput(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  void read(std::span<uint8_t> out) override;

 private:
  std::span<const uint8_t> bytes_;
  uint64_t offset_ = 0;
};

// Opens the regular file at path without blocking on anything else: the
// path is opened first, then the opened file is checked, so a FIFO or device
// (even one swapped in after a check) is refused unread. Throws Exception
// "cannot read <path>: <reason>" ("not a regular file" for those), or
// "<path> has <n> bytes; files over 512 MiB are not read".
std::unique_ptr<Input> openMapFile(const std::string& path);

// Takes an input's bytes in order and folds the checksum over them: every
// whole 4-byte word after the first, as mapfile::checksum does.
class ByteStream {
 public:
  explicit ByteStream(Input& input) : input_(input) {}

  uint64_t offset() const { return offset_; }
  uint64_t left() const { return input_.size() - offset_; }

  // The next out.size() bytes. Throws Exception when fewer are left.
  void read(std::span<uint8_t> out);
  // Reads past the next count bytes, in pieces, keeping none of them.
  void skip(uint64_t count);
  // The checksum of the bytes read so far.
  uint32_t checksum() const { return sum_; }

 private:
  Input& input_;
  uint64_t offset_ = 0;
  uint32_t sum_ = 0;
  std::array<uint8_t, 4> word_{};  // the bytes of an unfinished word
  size_t wordBytes_ = 0;
};

}  // namespace varnholt::mapfile
