#include "app/coding.h"

#include <filesystem>
#include <system_error>

#include "app/fileformat.h"
#include "error.h"

namespace varnholt::app {

namespace {

constexpr int64_t kTrailerBytes = 2;

// Size of the file at path; a failure carries the system's text and the path.
uint64_t sizeOf(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw exception(error.message() + "\nAdditional info: " + path);
  return size;
}

File openOrThrow(const std::string& path, const char* mode) {
  File file = openFile(path, mode);
  if (!file) throw exception("Failed to open path " + path);
  return file;
}

Bytes readAll(std::FILE* file, uint64_t size, const std::string& path) {
  Bytes bytes(size);
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw exception("Failed to read path " + path);
  }
  return bytes;
}

// The section walk over the whole file in memory, scrambling in place.
void scrambleSections(std::span<uint8_t> file) {
  const int64_t fileSize = static_cast<int64_t>(file.size());
  int64_t position = SECTION_HEADER_BYTES;  // past the checksum and version words
  while (true) {
    if (position + SECTION_HEADER_BYTES > fileSize) break;
    const uint32_t type = read32(&file[position]) & 0xFFFF;
    // A length below the header's own 8 bytes wraps to a body near 2^32 on
    // purpose: it then reaches past the end of the file and ends the walk.
    const uint32_t body = read32(&file[position + 4]) - 8;
    position += SECTION_HEADER_BYTES;
    std::printf("%u - %u\n", type, body);
    if (position + body >= fileSize || type == 0 || body == 0) break;
    if (type <= LAST_SCRAMBLED_SECTION) {
      std::printf("encrypt %u\n", type);
      encrypt(file.subspan(position, body), static_cast<uint8_t>(type));
      position += body;
    }
    std::printf("%lld\n", static_cast<long long>(position));
    if (position == fileSize - kTrailerBytes) {
      std::printf("stream end\n");
      return;
    }
  }
  std::printf("end of file\n");
}

}  // namespace

void write(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void write(Bytes& out, uint8_t value) { out.push_back(value); }

void write(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

uint32_t read32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

void encrypt(std::span<uint8_t> body, uint8_t key) {
  for (uint8_t& byte : body) {
    const uint8_t plain = byte;
    byte = plain ^ key;
    key = static_cast<uint8_t>((key << 1) ^ plain);  // only the low 8 bits ever reach a byte
  }
}

void decrypt(std::span<uint8_t> body, uint8_t key) {
  for (uint8_t& byte : body) {
    const uint8_t plain = byte ^ key;
    byte = plain;
    key = static_cast<uint8_t>((key << 1) ^ plain);
  }
}

uint32_t checksum(std::span<const uint8_t> file) {
  uint32_t sum = 0;
  for (size_t at = 4; at + 4 <= file.size(); at += 4) {
    // The top bit comes back into bit 0 by OR, not XOR, so this is not a
    // plain rotate: the game checks exactly this value.
    sum = ((sum << 1) ^ read32(&file[at])) | (sum >> 31);
  }
  return sum;
}

uint32_t calculateChecksum(const std::string& path) {
  const uint64_t fileSize = sizeOf(path);
  std::printf("size %llu\n", static_cast<unsigned long long>(fileSize));
  File file = openOrThrow(path, "rb");
  return checksum(readAll(file.get(), fileSize, path));
}

void encryptMap(const std::string& path) {
  {
    const uint64_t fileSize = sizeOf(path);
    File file = openOrThrow(path, "r+b");
    Bytes bytes = readAll(file.get(), fileSize, path);
    scrambleSections(bytes);
    std::rewind(file.get());
    writeAndClose(std::move(file), bytes, path);
  }
  const uint32_t sum = calculateChecksum(path);
  File file = openOrThrow(path, "r+b");
  Bytes word;
  write(word, sum);
  writeAndClose(std::move(file), word, path);
}

File openFile(const std::string& path, const char* mode) {
  return File(std::fopen(path.c_str(), mode));
}

void writeAndClose(File file, std::span<const uint8_t> bytes, const std::string& path) {
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) throw exception("Failed to write path " + path);
}

}  // namespace varnholt::app
