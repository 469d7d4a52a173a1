#include "mapfile/coding.h"

#include <string>

#include "mapfile/fileformat.h"

namespace varnholt::mapfile {

namespace {

constexpr int64_t kTrailerBytes = 2;

// The section walk over the whole file in memory, scrambling in place.
void scrambleSections(std::span<uint8_t> file, const Console& console) {
  const int64_t fileSize = static_cast<int64_t>(file.size());
  int64_t position = SECTION_HEADER_BYTES;  // past the checksum and version words
  while (true) {
    if (position + SECTION_HEADER_BYTES > fileSize) break;
    const uint32_t type = read32(&file[position]) & 0xFFFF;
    // A length below the header's own 8 bytes wraps to a body near 2^32 on
    // purpose: it then reaches past the end of the file and ends the walk.
    const uint32_t body = read32(&file[position + 4]) - 8;
    position += SECTION_HEADER_BYTES;
    console(std::to_string(type) + " - " + std::to_string(body) + "\n");
    if (position + body >= fileSize || type == 0 || body == 0) break;
    if (type <= LAST_SCRAMBLED_SECTION) {
      console("encrypt " + std::to_string(type) + "\n");
      encrypt(file.subspan(position, body), static_cast<uint8_t>(type));
    } else {
      console("unknown section " + std::to_string(type) + " skipped\n");
    }
    position += body;
    console(std::to_string(position) + "\n");
    if (position == fileSize - kTrailerBytes) {
      console("stream end\n");
      return;
    }
  }
  console("end of file\n");
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

uint8_t decrypt(std::span<uint8_t> body, uint8_t key) {
  for (uint8_t& byte : body) {
    const uint8_t plain = byte ^ key;
    byte = plain;
    key = static_cast<uint8_t>((key << 1) ^ plain);
  }
  return key;
}

uint32_t checksum(std::span<const uint8_t> file) {
  return file.size() < 4 ? 0 : foldChecksum(0, file.subspan(4));
}

uint32_t foldChecksum(uint32_t sum, std::span<const uint8_t> words) {
  for (size_t at = 0; at + 4 <= words.size(); at += 4) {
    // The top bit comes back into bit 0 by OR, not XOR, so this is not a
    // plain rotate: the game checks exactly this value.
    sum = ((sum << 1) ^ read32(&words[at])) | (sum >> 31);
  }
  return sum;
}

uint32_t calculateChecksum(std::span<const uint8_t> file, const Console& console) {
  console("size " + std::to_string(file.size()) + "\n");
  return checksum(file);
}

void encryptMap(Bytes& file, const Console& console) {
  scrambleSections(file, console);
  const uint32_t sum = calculateChecksum(file, console);
  if (file.size() < 4) file.resize(4);
  for (int k = 0; k < 4; ++k) file[k] = static_cast<uint8_t>(sum >> (8 * k));
}

}  // namespace varnholt::mapfile
