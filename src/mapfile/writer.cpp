#include "mapfile/writer.h"

#include <array>
#include <string>

#include "mapfile/fileformat.h"
#include "varnholt/model/error.h"
#include "mapfile/nibbles.h"

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
  write(out, uint32_t{32});
  write(out, static_cast<uint32_t>(map.gameType));
  write(out, map.playerCount);
  write(out, static_cast<uint32_t>(map.startResources));
  write(out, uint32_t{0});
  write(out, uint32_t{0});
  write(out, uint32_t{0});
}

void writePlayerInfo(const Map& map, Bytes& out) {
  write(out, uint32_t{SECTION_PLAYERS});
  // The length follows playerCount, the records the players themselves; a
  // consistent map has as many of one as of the other.
  write(out, PLAYER_RECORD_BYTES * map.playerCount + 8);
  for (const model::Player& player : map.players) {
    write(out, static_cast<uint32_t>(player.civilization));
    write(out, player.startX);
    write(out, player.startY);
    if (player.name.size() != PLAYER_NAME_BYTES) {
      throw exception("Illegal player name length: " + player.name);
    }
    out.insert(out.end(), player.name.begin(), player.name.end());
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
  const size_t start = out.size();
  out.resize(start + TILE_RECORD_BYTES * tiles);
  uint8_t* record = out.data() + start;
  for (size_t i = 0; i < tiles; ++i, record += TILE_RECORD_BYTES) {
    record[0] = map.heights[i];
    record[1] = static_cast<uint8_t>(map.landscape[i]);
    record[2] = static_cast<uint8_t>(map.objects[i]);
    record[3] = map.party[i];
    record[4] = static_cast<uint8_t>(map.accessible[i]);
    record[5] = createHighLow(static_cast<uint8_t>(map.resources[i]), map.resourceAmounts[i]);
  }
}

void writeSettlers(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_SETTLERS, SETTLER_RECORD_BYTES, map.settlers.size());
  for (const model::Settler& settler : map.settlers) {
    write(out, settler.party);
    write(out, static_cast<uint8_t>(settler.settlerType));
    write(out, settler.posX);
    write(out, settler.posY);
  }
}

void writeBuildings(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_BUILDINGS, BUILDING_RECORD_BYTES, map.buildings.size());
  for (const model::Building& building : map.buildings) {
    write(out, building.party);
    write(out, static_cast<uint8_t>(building.buildingType));
    write(out, building.posX);
    write(out, building.posY);
    write(out, uint8_t{0});
    // The game reads the nine troop counts as nibbles in this order.
    write(out, createHighLow(building.swordCount[0], building.swordCount[1]));
    write(out, createHighLow(building.archerCount[1], building.archerCount[2]));
    write(out, createHighLow(building.swordCount[2], building.archerCount[0]));
    write(out, createHighLow(building.spearCount[2], 0));
    write(out, createHighLow(building.spearCount[0], building.spearCount[1]));
  }
}

void writeStacks(const Map& map, Bytes& out) {
  writeListHeader(out, SECTION_STACKS, STACK_RECORD_BYTES, map.stacks.size());
  for (const model::Stack& stack : map.stacks) {
    write(out, stack.posX);
    write(out, stack.posY);
    write(out, static_cast<uint8_t>(stack.stackType));
    write(out, stack.count);
    write(out, uint8_t{254});
    write(out, uint8_t{0});
  }
}

}  // namespace varnholt::mapfile
