#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Seals a plain map file: every section body scrambled with a running byte
// key, then the checksum in the first word. Also the byte-level pieces the
// writer and the file reader share.
namespace varnholt::app {

// A map file, or part of one, in memory.
using Bytes = std::vector<uint8_t>;

// Append one value in little-endian order.
void write(Bytes& out, uint32_t value);
void write(Bytes& out, uint8_t value);
void write(Bytes& out, uint16_t value);

// The little-endian u32 at bytes[0..3].
uint32_t read32(const uint8_t* bytes);

// Scrambles body in place. The key starts at key and after each byte becomes
// (key * 2) XOR the plain byte, kept to 8 bits.
void encrypt(std::span<uint8_t> body, uint8_t key);

// Undoes encrypt with the same start key.
void decrypt(std::span<uint8_t> body, uint8_t key);

// Checksum of a whole file: the whole 4-byte words after the first (the
// checksum word itself), folded as cs = ((cs << 1) ^ word) | (cs >> 31).
// Trailing bytes that make no whole word are not counted.
uint32_t checksum(std::span<const uint8_t> file);

// Prints "size <n>", reads the file at path and returns its checksum.
// Throws Exception for a file that cannot be measured, opened or read.
uint32_t calculateChecksum(const std::string& path);

// Walks the sections of the plain file at path from offset 8, printing each
// header ("<type> - <body length>"), scrambles the bodies of types 1 to 12
// with their type as start key, then writes calculateChecksum at offset 0.
// The walk ends with "stream end" at the two trailer bytes, or with "end of
// file" at a header of type 0, an empty body, a body reaching the end of the
// file, or a header that does not fit before the end of the file.
// Throws Exception when the file cannot be measured, opened, read or written.
void encryptMap(const std::string& path);

// A C stream that closes itself, unchecked, when dropped; writeAndClose
// closes it checked.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens path with the std::fopen mode; empty when it cannot be opened.
File openFile(const std::string& path, const char* mode);

// Writes bytes at the stream position and closes the stream. Throws
// Exception "Failed to write path <path>" when a write, the flush or the
// close fails; the stream is closed either way.
void writeAndClose(File file, std::span<const uint8_t> bytes, const std::string& path);

}  // namespace varnholt::app
