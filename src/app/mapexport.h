#pragma once

#include <string>

#include "app/coding.h"
#include "model/map.h"

// Writes a map as a plain map file, then seals it (scrambled sections, checksum).
namespace varnholt::app {

// Slope check, plain file, then encryptMap. No file is touched when the check fails.
void exportMap(const model::Map& map, const std::string& path);

// Creates or truncates path and writes the plain file: checksum word 0, file
// version, sections 1, 2, 6, 7, 8, 9 (printing "write 1" .. "write 12", each
// before its section), two zero bytes. Returns silently, writing nothing, when
// path cannot be created. When a section writer throws, what was written so
// far stays in the file. Throws Exception "Failed to write path <path>" when
// the file cannot be written in full.
void writeMap(const model::Map& map, const std::string& path);

// One complete section each, header included, appended to out.
void writeMapInfo(const model::Map& map, Bytes& out);
// Throws Exception "Illegal player name length: <name>" for a name that is
// not 33 bytes, after the record's three words are written.
void writePlayerInfo(const model::Map& map, Bytes& out);
void writeArea(const model::Map& map, Bytes& out);
void writeSettlers(const model::Map& map, Bytes& out);
void writeBuildings(const model::Map& map, Bytes& out);
void writeStacks(const model::Map& map, Bytes& out);

}  // namespace varnholt::app
