#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "model/map.h"

// Writes a map as a plain map file, then seals it (scrambled sections, checksum).
namespace varnholt::app {

// Slope check, plain file, then encryptMap. No file is touched when the check fails.
void exportMap(const model::Map& map, const std::string& path);

// Creates or truncates path and writes the plain file: checksum word 0, file
// version, sections 1, 2, 6, 7, 8, 9 (printing "write 1" .. "write 12"), two
// zero bytes.
void writeMap(const model::Map& map, const std::string& path);

// Little-endian writes of one value at the stream position.
void write(std::ostream& out, uint32_t value);
void write(std::ostream& out, uint8_t value);
void write(std::ostream& out, uint16_t value);

// One complete section each, header included.
void writeMapInfo(const model::Map& map, std::ostream& out);
void writePlayerInfo(const model::Map& map, std::ostream& out);
void writeArea(const model::Map& map, std::ostream& out);
void writeSettlers(const model::Map& map, std::ostream& out);
void writeBuildings(const model::Map& map, std::ostream& out);
void writeStacks(const model::Map& map, std::ostream& out);

}  // namespace varnholt::app
