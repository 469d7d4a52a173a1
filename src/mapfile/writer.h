#pragma once

#include "mapfile/coding.h"
#include "varnholt/model/map.h"

// Lays a map out as a map file in memory: the plain file, then sealed
// (scrambled sections, checksum).
namespace varnholt::mapfile {

// Slope check, plain file, then encryptMap: the finished file's bytes.
// Throws what the slope check or a section writer throws; nothing is
// returned then.
Bytes exportMap(const model::Map& map, const Console& console);

// The plain file: checksum word 0, file version, sections 1, 2, 6, 7, 8, 9
// (printing "write 1" .. "write 12", each before its section), two zero bytes.
Bytes writeMap(const model::Map& map, const Console& console);

// One complete section each, header included, appended to out; the records'
// layouts are in records.h.
void writeMapInfo(const model::Map& map, Bytes& out);
// One record per entry of players, the section's length counting them
// (playerCount goes to the map info only). Throws Exception "Illegal player
// name length: <name>" for a name that is not 33 bytes; out is then
// incomplete.
void writePlayerInfo(const model::Map& map, Bytes& out);
void writeArea(const model::Map& map, Bytes& out);
void writeSettlers(const model::Map& map, Bytes& out);
void writeBuildings(const model::Map& map, Bytes& out);
void writeStacks(const model::Map& map, Bytes& out);

}  // namespace varnholt::mapfile
