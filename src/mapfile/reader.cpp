#include "mapfile/reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>

#include "mapfile/coding.h"
#include "mapfile/fileformat.h"
#include "model/error.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

constexpr std::array<uint16_t, 6> kParsed = {SECTION_MAP_INFO, SECTION_PLAYERS,   SECTION_AREA,
                                             SECTION_SETTLERS, SECTION_BUILDINGS, SECTION_STACKS};

uint16_t load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint8_t high(uint8_t byte) { return static_cast<uint8_t>(byte >> 4); }
uint8_t low(uint8_t byte) { return static_cast<uint8_t>(byte & 15); }

std::string where(const Section& section) {
  return "section " + std::to_string(section.type) + " at offset " +
         std::to_string(section.offset);
}

// Walks the sections from offset 8 by their lengths, unscrambling the bodies
// of types 1 to 12 in place. Stops at a type-0 section or when fewer than 8
// bytes remain (the trailer).
std::vector<Section> walk(std::vector<uint8_t>& bytes, std::vector<std::string>& warnings) {
  std::vector<Section> sections;
  uint64_t offset = SECTION_HEADER_BYTES;
  while (bytes.size() - offset >= SECTION_HEADER_BYTES) {
    if (sections.size() == MAX_SECTIONS) {
      throw exception("more than " + std::to_string(MAX_SECTIONS) + " sections before offset " +
                      std::to_string(offset));
    }
    Section section;
    section.typeWord = read32(&bytes[offset]);
    section.type = static_cast<uint16_t>(section.typeWord & 0xFFFF);
    section.offset = offset;
    section.length = read32(&bytes[offset + 4]);
    sections.push_back(section);
    if (section.type == 0) break;
    const uint64_t left = bytes.size() - offset;
    if (section.length < SECTION_HEADER_BYTES) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      ", shorter than its own 8-byte header");
    }
    if (section.length > left) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      " but only " + std::to_string(left) + " bytes are left in the file");
    }
    if (section.type <= LAST_SCRAMBLED_SECTION) {
      decrypt(std::span(bytes).subspan(offset + SECTION_HEADER_BYTES,
                                       section.length - SECTION_HEADER_BYTES),
              static_cast<uint8_t>(section.type));  // the key is the type's low byte
    } else {
      warnings.push_back("unknown " + where(section) + " skipped");
    }
    offset += section.length;
  }
  return sections;
}

// The body of the one section of each parsed type; a repeated one is an error.
std::map<uint16_t, std::span<const uint8_t>> bodies(const std::vector<uint8_t>& bytes,
                                                    const std::vector<Section>& sections) {
  std::map<uint16_t, std::span<const uint8_t>> found;
  std::map<uint16_t, uint64_t> offsets;
  for (const Section& section : sections) {
    if (std::find(kParsed.begin(), kParsed.end(), section.type) == kParsed.end()) continue;
    if (offsets.contains(section.type)) {
      throw exception("section " + std::to_string(section.type) + " appears twice, at offsets " +
                      std::to_string(offsets[section.type]) + " and " +
                      std::to_string(section.offset));
    }
    offsets[section.type] = section.offset;
    found[section.type] = std::span(bytes).subspan(section.offset + SECTION_HEADER_BYTES,
                                                   section.length - SECTION_HEADER_BYTES);
  }
  return found;
}

// A header word that the Map keeps in one byte.
uint8_t byteField(uint32_t word, const std::string& what) {
  if (word > 255) {
    throw exception("map info section: " + what + " " + std::to_string(word) +
                    " does not fit one byte");
  }
  return static_cast<uint8_t>(word);
}

void readMapInfo(std::span<const uint8_t> body, Map& map) {
  if (body.size() < 12) {
    throw exception("map info section body has " + std::to_string(body.size()) +
                    " bytes, at least 12 needed");
  }
  map.gameType = static_cast<model::GameType>(byteField(read32(&body[0]), "game type"));
  map.playerCount = read32(&body[4]);
  map.startResources =
      static_cast<model::StartResourcesType>(byteField(read32(&body[8]), "start goods level"));
}

void readPlayers(std::span<const uint8_t> body, Map& map, std::vector<std::string>& warnings) {
  if (body.size() % PLAYER_RECORD_BYTES != 0) {
    throw exception("player section body has " + std::to_string(body.size()) +
                    " bytes, not a whole number of 45-byte records");
  }
  const size_t count = body.size() / PLAYER_RECORD_BYTES;
  map.players.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = &body[i * PLAYER_RECORD_BYTES];
    const uint32_t civilization = read32(record);
    if (civilization > 0xFFFF) {
      throw exception("player " + std::to_string(i) + ": civilization code " +
                      std::to_string(civilization) + " does not fit 16 bits");
    }
    model::Player& player = map.players[i];
    player.civilization = static_cast<model::CivilizationType>(civilization);
    player.startX = read32(record + 4);
    player.startY = read32(record + 8);
    player.name.assign(reinterpret_cast<const char*>(record + 12), PLAYER_NAME_BYTES);
  }
  if (count != map.playerCount) {
    warnings.push_back("the map info section counts " + std::to_string(map.playerCount) +
                       " players, the player section holds " + std::to_string(count));
  }
}

void readArea(std::span<const uint8_t> body, Map& map) {
  if (body.size() < 4) {
    throw exception("area section body has " + std::to_string(body.size()) +
                    " bytes, too short for the map size");
  }
  const uint32_t size = read32(&body[0]);
  if (size == 0) throw exception("area section: map size 0");
  uint64_t tiles = 0;
  uint64_t needed = 0;
  if (__builtin_mul_overflow(uint64_t{size}, uint64_t{size}, &tiles) ||
      __builtin_mul_overflow(tiles, TILE_RECORD_BYTES, &needed)) {
    throw exception("area section: map size " + std::to_string(size) + " is too large");
  }
  if (needed != body.size() - 4) {
    throw exception("area section: a map of size " + std::to_string(size) + " needs " +
                    std::to_string(needed) + " bytes of tiles, the section holds " +
                    std::to_string(body.size() - 4));
  }
  map.size = size;
  map.heights.resize(tiles);
  map.landscape.resize(tiles);
  map.objects.resize(tiles);
  map.party.resize(tiles);
  map.accessible.resize(tiles);
  map.resources.resize(tiles);
  map.resourceAmounts.resize(tiles);
  const uint8_t* record = &body[4];
  for (size_t i = 0; i < tiles; ++i, record += TILE_RECORD_BYTES) {
    map.heights[i] = record[0];
    map.landscape[i] = static_cast<model::LandscapeType>(record[1]);
    map.objects[i] = static_cast<model::ObjectType>(record[2]);
    map.party[i] = record[3];
    map.accessible[i] = static_cast<model::AccessibleType>(record[4]);
    map.resources[i] = static_cast<model::ResourceType>(high(record[5]));
    map.resourceAmounts[i] = low(record[5]);
  }
}

// The records of a list section: a count word, then count records of
// recordBytes each, which must fill the body exactly.
std::span<const uint8_t> records(std::span<const uint8_t> body, uint64_t recordBytes,
                                 const std::string& what) {
  if (body.size() < 4) {
    throw exception(what + " section body has " + std::to_string(body.size()) +
                    " bytes, too short for its count");
  }
  const uint64_t count = read32(&body[0]);
  if (count * recordBytes != body.size() - 4) {
    throw exception(what + " section counts " + std::to_string(count) + " records of " +
                    std::to_string(recordBytes) + " bytes but holds " +
                    std::to_string(body.size() - 4) + " bytes");
  }
  return body.subspan(4);
}

void readSettlers(std::span<const uint8_t> body, Map& map) {
  const std::span<const uint8_t> data = records(body, SETTLER_RECORD_BYTES, "settlers");
  map.settlers.resize(data.size() / SETTLER_RECORD_BYTES);
  const uint8_t* record = data.data();
  for (model::Settler& settler : map.settlers) {
    settler.party = record[0];
    settler.settlerType = static_cast<model::SettlerType>(record[1]);
    settler.posX = load16(record + 2);
    settler.posY = load16(record + 4);
    record += SETTLER_RECORD_BYTES;
  }
}

// Soldier counts come packed two to a byte in a fixed order (see the writer).
void readBuildings(std::span<const uint8_t> body, Map& map) {
  const std::span<const uint8_t> data = records(body, BUILDING_RECORD_BYTES, "buildings");
  map.buildings.resize(data.size() / BUILDING_RECORD_BYTES);
  const uint8_t* record = data.data();
  for (model::Building& building : map.buildings) {
    building.party = record[0];
    building.buildingType = static_cast<model::BuildingType>(record[1]);
    building.posX = load16(record + 2);
    building.posY = load16(record + 4);
    building.swordCount = {high(record[7]), low(record[7]), high(record[9])};
    building.archerCount = {low(record[9]), high(record[8]), low(record[8])};
    building.spearCount = {high(record[11]), low(record[11]), high(record[10])};
    record += BUILDING_RECORD_BYTES;
  }
}

void readStacks(std::span<const uint8_t> body, Map& map) {
  const std::span<const uint8_t> data = records(body, STACK_RECORD_BYTES, "stacks");
  map.stacks.resize(data.size() / STACK_RECORD_BYTES);
  const uint8_t* record = data.data();
  for (model::Stack& stack : map.stacks) {
    stack.posX = load16(record);
    stack.posY = load16(record + 2);
    stack.stackType = static_cast<model::StackType>(record[4]);
    stack.count = record[5];
    record += STACK_RECORD_BYTES;
  }
}

// One warning per list whose entries stand outside the map.
template <typename T, typename Position>
void warnOutside(const std::vector<T>& list, uint32_t size, const std::string& what,
                 Position position, std::vector<std::string>& warnings) {
  size_t outside = 0;
  for (const T& entry : list) {
    const auto [x, y] = position(entry);
    if (x >= size || y >= size) ++outside;
  }
  if (outside > 0) {
    warnings.push_back(std::to_string(outside) + " " + what + " outside the " +
                       std::to_string(size) + "-tile map");
  }
}

}  // namespace

MapFile readMap(std::span<const uint8_t> input) {
  if (input.size() < SECTION_HEADER_BYTES) {
    throw exception("a file of " + std::to_string(input.size()) +
                    " bytes is too short for a map file");
  }
  MapFile file;
  file.fileSize = input.size();
  file.storedChecksum = read32(&input[0]);
  file.computedChecksum = checksum(input);
  if (file.storedChecksum != file.computedChecksum) {
    file.warnings.push_back("checksum mismatch: the file says " +
                            std::to_string(file.storedChecksum) + ", its content gives " +
                            std::to_string(file.computedChecksum));
  }
  file.fileVersion = read32(&input[4]);
  if (file.fileVersion > 255) {
    throw exception("not a map file: its version word is " + std::to_string(file.fileVersion));
  }
  if (file.fileVersion != 10 && file.fileVersion != 11) {
    file.warnings.push_back("unknown file version " + std::to_string(file.fileVersion));
  }
  Map& map = file.map;
  map.fileVersion = static_cast<model::FileVersion>(file.fileVersion);

  std::vector<uint8_t> bytes(input.begin(), input.end());
  file.sections = walk(bytes, file.warnings);
  const auto found = bodies(bytes, file.sections);
  if (!found.contains(SECTION_MAP_INFO)) {
    throw exception("the file has no map info section (type 1)");
  }
  if (!found.contains(SECTION_AREA)) throw exception("the file has no area section (type 6)");
  readMapInfo(found.at(SECTION_MAP_INFO), map);
  readArea(found.at(SECTION_AREA), map);
  if (found.contains(SECTION_PLAYERS)) {
    readPlayers(found.at(SECTION_PLAYERS), map, file.warnings);
  } else {
    file.warnings.push_back("the file has no player section (type 2)");
  }
  if (found.contains(SECTION_SETTLERS)) readSettlers(found.at(SECTION_SETTLERS), map);
  if (found.contains(SECTION_BUILDINGS)) readBuildings(found.at(SECTION_BUILDINGS), map);
  if (found.contains(SECTION_STACKS)) readStacks(found.at(SECTION_STACKS), map);

  auto at = [](const auto& entry) { return std::pair<uint32_t, uint32_t>(entry.posX, entry.posY); };
  warnOutside(map.players, map.size, "player start spots",
              [](const model::Player& p) { return std::pair(p.startX, p.startY); }, file.warnings);
  warnOutside(map.settlers, map.size, "settlers", at, file.warnings);
  warnOutside(map.buildings, map.size, "buildings", at, file.warnings);
  warnOutside(map.stacks, map.size, "goods piles", at, file.warnings);
  return file;
}

MapFile importMap(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error) throw exception("cannot read " + path + ": " + error.message());
  if (!std::filesystem::is_regular_file(status)) {
    throw exception("cannot read " + path + ": not a regular file");
  }
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw exception("cannot read " + path + ": " + error.message());
  if (size > MAX_MAP_FILE_BYTES) {
    throw exception(path + " has " + std::to_string(size) +
                    " bytes; files over 512 MiB are not read");
  }
  std::vector<uint8_t> bytes(size);
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (!in || static_cast<uintmax_t>(in.gcount()) != size) {
    throw exception("cannot read " + path + ": read failed");
  }
  return readMap(bytes);
}

}  // namespace varnholt::mapfile
