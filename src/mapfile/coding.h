#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "varnholt/model/console.h"

// Seals a plain map file in memory: every section body scrambled with a
// running byte key, then the checksum in the first word. Also the byte-level
// pieces the writer and the file reader share.
namespace varnholt::mapfile {

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

// Undoes encrypt with the same start key. Returns the key the byte after
// body would take, so a long body can be undone piece by piece.
uint8_t decrypt(std::span<uint8_t> body, uint8_t key);

// Checksum of a whole file: the whole 4-byte words after the first (the
// checksum word itself), folded as cs = ((cs << 1) ^ word) | (cs >> 31).
// Trailing bytes that make no whole word are not counted.
uint32_t checksum(std::span<const uint8_t> file);

// Folds the whole 4-byte words of words into sum as checksum does: checksum
// of a file is the fold of its words from offset 4 on, in any number of
// pieces of whole words, starting from 0.
uint32_t foldChecksum(uint32_t sum, std::span<const uint8_t> words);

// Prints "size <n>" and returns checksum(file).
uint32_t calculateChecksum(std::span<const uint8_t> file, const Console& console);

// Walks the sections of the plain file from offset 8, printing each header
// ("<type> - <body length>"), scrambles the bodies of types 1 to 12 with
// their type as start key and skips the bodies of higher types by their
// length ("unknown section <type> skipped"), then stores calculateChecksum
// in the first word.
// The walk ends with "stream end" at the two trailer bytes, or with "end of
// file" at a header of type 0, an empty body, a body reaching the end of the
// file, or a header that does not fit before the end of the file. A file of
// fewer than 4 bytes grows to hold the checksum word.
void encryptMap(Bytes& file, const Console& console);

}  // namespace varnholt::mapfile
