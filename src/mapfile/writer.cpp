#include "mapfile/writer.h"

#include <array>
#include <string>

#include "mapfile/fileformat.h"
#include "mapfile/records.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

constexpr uint32_t kListHeaderBytes = 12;  // type, length, count

// The section writers by type 1 to 12; the other types only get their line.
using SectionWriter = void (*)(const Map&, Bytes&);
constexpr std::array<SectionWriter, 13> kSectionWriters = [] {
  std::array<SectionWriter, 13> writers{};
  writers[SECTION_MAP_INFO] = writeMapInfo;
  writers[SECTION_PLAYERS] = writePlayerInfo;
  writers[SECTION_AREA] = writeArea;
  writers[SECTION_SETTLERS] = writeSettlers;
  writers[SECTION_BUILDINGS] = writeBuildings;
  writers[SECTION_STACKS] = writeStacks;
  return writers;
}();

uint64_t fileSize(const Map& map) {
  return 98 + uint64_t{PLAYER_RECORD_BYTES} * map.players.size() +
         uint64_t{TILE_RECORD_BYTES} * map.size * map.size +
         uint64_t{SETTLER_RECORD_BYTES} * map.settlers.size() +
         uint64_t{BUILDING_RECORD_BYTES} * map.buildings.size() +
         uint64_t{STACK_RECORD_BYTES} * map.stacks.size();
}

// Type, length and count of a list section. Lengths are 32-bit in the file
// and wrap with it.
void writeListHeader(Bytes& out, uint32_t type, uint32_t recordBytes, size_t count) {
  write(out, type);
  write(out, static_cast<uint32_t>(recordBytes * count + kListHeaderBytes));
  write(out, static_cast<uint32_t>(count));
}

// Grows out by count bytes; returns where they start.
uint8_t* appended(Bytes& out, size_t count) {
  out.resize(out.size() + count);
  return out.data() + out.size() - count;
}

bool layersHoldEveryTile(const Map& map) {
  const size_t tiles = size_t{map.size} * map.size;
  return map.heights.size() == tiles && map.landscape.size() == tiles &&
         map.objects.size() == tiles && map.party.size() == tiles &&
         map.accessible.size() == tiles && map.resources.size() == tiles &&
         map.resourceAmounts.size() == tiles;
}

}  // namespace

Bytes exportMap(const Map& map, const Console& console) {
  (model::assert)(map);
  Bytes file = writeMap(map, console);
  encryptMap(file, console);
  return file;
}

Bytes writeMap(const Map& map, const Console& console) {
  Bytes out;
  out.reserve(fileSize(map));
  write(out, uint32_t{0});  // the checksum word, filled in by encryptMap
  write(out, static_cast<uint32_t>(map.fileVersion));
  for (uint32_t type = 1; type <= 12; ++type) {
    console("write " + std::to_string(type) + "\n");
    if (kSectionWriters[type]) kSectionWriters[type](map, out);
  }
  write(out, uint8_t{0});
  write(out, uint8_t{0});
  return out;
}

void writeMapInfo(const Map& map, Bytes& out) {
  write(out, uint32_t{SECTION_MAP_INFO});
  write(out, SECTION_HEADER_BYTES + MAP_INFO_RECORD_BYTES);
  encodeMapInfo(map, appended(out, MAP_INFO_RECORD_BYTES));
}

void writePlayerInfo(const Map& map, Bytes& out) {
  write(out, uint32_t{SECTION_PLAYERS});
  // The length counts the records that follow, so the section stays whole
  // even where the map info's player count says otherwise (as in a file
  // read back that disagreed with itself).
  write(out,
        static_cast<uint32_t>(PLAYER_RECORD_BYTES * map.players.size() + SECTION_HEADER_BYTES));
  for (const model::Player& player : map.players) {
    encodePlayer(player, appended(out, PLAYER_RECORD_BYTES));
  }
}

void writeArea(const Map& map, Bytes& out) {
  if (!layersHoldEveryTile(map)) {
    throw exception("Map layers do not hold " + std::to_string(map.size) + "x" +
                    std::to_string(map.size) + " tiles");
  }
  const size_t tiles = size_t{map.size} * map.size;
  write(out, uint32_t{SECTION_AREA});
  // The length is 32-bit, as the file holds it.
  write(out, static_cast<uint32_t>(TILE_RECORD_BYTES * tiles + 12));
  write(out, map.size);
  encodeTiles(map, 0, tiles, appended(out, TILE_RECORD_BYTES * tiles));
}

void writeSettlers(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_SETTLERS, SETTLER_RECORD_BYTES, map.settlers.size());
  for (const model::Settler& settler : map.settlers) {
    encodeSettler(settler, appended(out, SETTLER_RECORD_BYTES));
  }
}

void writeBuildings(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_BUILDINGS, BUILDING_RECORD_BYTES, map.buildings.size());
  for (const model::Building& building : map.buildings) {
    encodeBuilding(building, appended(out, BUILDING_RECORD_BYTES));
  }
}

void writeStacks(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_STACKS, STACK_RECORD_BYTES, map.stacks.size());
  for (const model::Stack& stack : map.stacks) {
    encodeStack(stack, appended(out, STACK_RECORD_BYTES));
  }
}

}  // namespace varnholt::mapfile
