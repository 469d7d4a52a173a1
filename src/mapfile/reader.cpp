#include "mapfile/reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "mapfile/coding.h"
#include "mapfile/fileformat.h"
#include "model/error.h"
#include "platform/inputfile.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

constexpr std::array<uint16_t, 6> kParsed = {SECTION_MAP_INFO, SECTION_PLAYERS,   SECTION_AREA,
                                             SECTION_SETTLERS, SECTION_BUILDINGS, SECTION_STACKS};

// Long stretches (the checksum, the tiles) are read in pieces of this many
// bytes, a whole number of checksum words and of tile records.
constexpr uint64_t kPieceBytes = uint64_t{4} * TILE_RECORD_BYTES << 16;

// Files end with fewer bytes than this after their last section: the
// program's two zero bytes, or up to three after a closing type-0 section.
constexpr uint64_t kMaxTrailerBytes = 3;

// The bytes of a map file, read by offset: held in memory, or read from disk
// piece by piece so that a large file is never held whole.
class Input {
 public:
  virtual ~Input() = default;
  virtual uint64_t size() const = 0;
  // Fills out with the bytes from offset on, which lie within size(). Throws
  // Exception when they cannot be read.
  virtual void read(uint64_t offset, std::span<uint8_t> out) const = 0;
};

class MemoryInput final : public Input {
 public:
  explicit MemoryInput(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  void read(uint64_t offset, std::span<uint8_t> out) const override {
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  }

 private:
  std::span<const uint8_t> bytes_;
};

class FileInput final : public Input {
 public:
  explicit FileInput(const std::string& path) : file_(path) {}
  uint64_t size() const override { return file_.size(); }
  void read(uint64_t offset, std::span<uint8_t> out) const override { file_.read(offset, out); }

 private:
  platform::InputFile file_;
};

uint16_t load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint8_t high(uint8_t byte) { return static_cast<uint8_t>(byte >> 4); }
uint8_t low(uint8_t byte) { return static_cast<uint8_t>(byte & 15); }

std::string where(const Section& section) {
  return "section " + std::to_string(section.type) + " at offset " +
         std::to_string(section.offset);
}

uint64_t bodyLength(const Section& section) { return section.length - SECTION_HEADER_BYTES; }

// The checksum of the whole input, read in pieces.
uint32_t checksumOf(const Input& input) {
  const uint64_t end = input.size() - (input.size() - 4) % 4;  // whole words only
  std::vector<uint8_t> piece;
  uint32_t sum = 0;
  for (uint64_t at = 4; at < end; at += piece.size()) {
    piece.resize(std::min(kPieceBytes, end - at));
    input.read(at, piece);
    sum = foldChecksum(sum, piece);
  }
  return sum;
}

// Walks the section headers from offset 8 by their lengths. Stops at a type-0
// section or when fewer than 8 bytes remain (the trailer), and warns about
// unknown section types and more trailing bytes than files end with.
std::vector<Section> walk(const Input& input, std::vector<std::string>& warnings) {
  std::vector<Section> sections;
  uint64_t offset = SECTION_HEADER_BYTES;
  while (input.size() - offset >= SECTION_HEADER_BYTES) {
    if (sections.size() == MAX_SECTIONS) {
      throw exception("more than " + std::to_string(MAX_SECTIONS) + " sections before offset " +
                      std::to_string(offset));
    }
    std::array<uint8_t, SECTION_HEADER_BYTES> header;
    input.read(offset, header);
    Section section;
    section.typeWord = read32(&header[0]);
    section.type = static_cast<uint16_t>(section.typeWord & 0xFFFF);
    section.offset = offset;
    section.length = read32(&header[4]);
    sections.push_back(section);
    if (section.type == 0) {
      offset += SECTION_HEADER_BYTES;
      break;
    }
    const uint64_t left = input.size() - offset;
    if (section.length < SECTION_HEADER_BYTES) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      ", shorter than its own 8-byte header");
    }
    if (section.length > left) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      " but only " + std::to_string(left) + " bytes are left in the file");
    }
    if (section.type > LAST_SCRAMBLED_SECTION) {
      warnings.push_back("unknown " + where(section) + " skipped");
    }
    offset += section.length;
  }
  if (input.size() - offset > kMaxTrailerBytes) {
    warnings.push_back(std::to_string(input.size() - offset) +
                       " bytes after the last section, from offset " + std::to_string(offset) +
                       ", are ignored");
  }
  return sections;
}

// The one section of each parsed type; a repeated one is an error.
std::map<uint16_t, Section> parsedSections(const std::vector<Section>& sections) {
  std::map<uint16_t, Section> found;
  for (const Section& section : sections) {
    if (std::find(kParsed.begin(), kParsed.end(), section.type) == kParsed.end()) continue;
    if (found.contains(section.type)) {
      throw exception("section " + std::to_string(section.type) + " appears twice, at offsets " +
                      std::to_string(found[section.type].offset) + " and " +
                      std::to_string(section.offset));
    }
    found[section.type] = section;
  }
  return found;
}

// The first bytes of a section's body, at most count of them, unscrambled
// (the key is the type's low byte).
std::vector<uint8_t> plainPrefix(const Input& input, const Section& section, uint64_t count) {
  std::vector<uint8_t> body(std::min(count, bodyLength(section)));
  input.read(section.offset + SECTION_HEADER_BYTES, body);
  decrypt(body, static_cast<uint8_t>(section.type));
  return body;
}

// A header word that the Map keeps in one byte.
uint8_t byteField(uint32_t word, const std::string& what) {
  if (word > 255) {
    throw exception("map info section: " + what + " " + std::to_string(word) +
                    " does not fit one byte");
  }
  return static_cast<uint8_t>(word);
}

void readMapInfo(const Input& input, const Section& section, Map& map) {
  const std::vector<uint8_t> body = plainPrefix(input, section, 12);
  if (body.size() < 12) {
    throw exception("map info section body has " + std::to_string(body.size()) +
                    " bytes, at least 12 needed");
  }
  map.gameType = static_cast<model::GameType>(byteField(read32(&body[0]), "game type"));
  map.playerCount = read32(&body[4]);
  map.startResources =
      static_cast<model::StartResourcesType>(byteField(read32(&body[8]), "start goods level"));
}

void readPlayers(const Input& input, const Section& section, Map& map,
                 std::vector<std::string>& warnings) {
  const uint64_t length = bodyLength(section);
  if (length % PLAYER_RECORD_BYTES != 0) {
    throw exception("player section body has " + std::to_string(length) +
                    " bytes, not a whole number of 45-byte records");
  }
  const size_t count = length / PLAYER_RECORD_BYTES;
  if (count > MAX_PLAYERS) {
    throw exception("player section holds " + std::to_string(count) + " records; more than " +
                    std::to_string(MAX_PLAYERS) + " players are not read");
  }
  const std::vector<uint8_t> body = plainPrefix(input, section, length);
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

// The tiles are read and unscrambled piece by piece, the key running on.
void readArea(const Input& input, const Section& section, Map& map,
              std::vector<std::string>& warnings) {
  const uint64_t length = bodyLength(section);
  if (length < 4) {
    throw exception("area section body has " + std::to_string(length) +
                    " bytes, too short for the map size");
  }
  const uint64_t start = section.offset + SECTION_HEADER_BYTES;
  std::array<uint8_t, 4> sizeWord;
  input.read(start, sizeWord);
  uint8_t key = decrypt(sizeWord, static_cast<uint8_t>(section.type));
  const uint32_t size = read32(sizeWord.data());
  if (size == 0) throw exception("area section: map size 0");
  uint64_t tiles = 0;
  uint64_t needed = 0;
  if (__builtin_mul_overflow(uint64_t{size}, uint64_t{size}, &tiles) ||
      __builtin_mul_overflow(tiles, TILE_RECORD_BYTES, &needed)) {
    throw exception("area section: map size " + std::to_string(size) + " is too large");
  }
  if (needed != length - 4) {
    throw exception("area section: a map of size " + std::to_string(size) + " needs " +
                    std::to_string(needed) + " bytes of tiles, the section holds " +
                    std::to_string(length - 4));
  }
  map.size = size;
  map.heights.resize(tiles);
  map.landscape.resize(tiles);
  map.objects.resize(tiles);
  map.party.resize(tiles);
  map.accessible.resize(tiles);
  map.resources.resize(tiles);
  map.resourceAmounts.resize(tiles);
  size_t unknownObjects = 0;
  size_t firstUnknown = 0;
  std::vector<uint8_t> piece;
  for (size_t first = 0; first < tiles; first += piece.size() / TILE_RECORD_BYTES) {
    piece.resize(std::min<uint64_t>(kPieceBytes, (tiles - first) * TILE_RECORD_BYTES));
    input.read(start + 4 + first * TILE_RECORD_BYTES, piece);
    key = decrypt(piece, key);
    const uint8_t* record = piece.data();
    const size_t end = first + piece.size() / TILE_RECORD_BYTES;
    for (size_t i = first; i < end; ++i, record += TILE_RECORD_BYTES) {
      map.heights[i] = record[0];
      map.landscape[i] = static_cast<model::LandscapeType>(record[1]);
      map.objects[i] = static_cast<model::ObjectType>(record[2]);
      if (!isKnown(map.objects[i]) && unknownObjects++ == 0) firstUnknown = i;
      map.party[i] = record[3];
      map.accessible[i] = static_cast<model::AccessibleType>(record[4]);
      map.resources[i] = static_cast<model::ResourceType>(high(record[5]));
      map.resourceAmounts[i] = low(record[5]);
    }
  }
  if (unknownObjects > 0) {
    warnings.push_back(std::to_string(unknownObjects) + " tiles hold object codes above " +
                       std::to_string(model::OBJECT_TYPE_COUNT - 1) +
                       ", which no object has; the first, " +
                       std::to_string(static_cast<unsigned>(map.objects[firstUnknown])) +
                       ", at " + std::to_string(firstUnknown % size) + ", " +
                       std::to_string(firstUnknown / size));
  }
}

// The plain records of a list section: a count word, then count records of
// recordBytes each, which must fill the body exactly; at most cap of them.
// The count is checked before the records are read.
std::vector<uint8_t> records(const Input& input, const Section& section, uint64_t recordBytes,
                             uint64_t cap, const std::string& what) {
  const uint64_t length = bodyLength(section);
  if (length < 4) {
    throw exception(what + " section body has " + std::to_string(length) +
                    " bytes, too short for its count");
  }
  const uint64_t count = read32(plainPrefix(input, section, 4).data());
  if (count * recordBytes != length - 4) {
    throw exception(what + " section counts " + std::to_string(count) + " records of " +
                    std::to_string(recordBytes) + " bytes but holds " +
                    std::to_string(length - 4) + " bytes");
  }
  if (count > cap) {
    throw exception(what + " section counts " + std::to_string(count) + " records; more than " +
                    std::to_string(cap) + " are not read");
  }
  std::vector<uint8_t> body = plainPrefix(input, section, length);
  body.erase(body.begin(), body.begin() + 4);
  return body;
}

void readSettlers(const Input& input, const Section& section, Map& map) {
  const std::vector<uint8_t> data =
      records(input, section, SETTLER_RECORD_BYTES, MAX_SETTLERS, "settlers");
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
void readBuildings(const Input& input, const Section& section, Map& map) {
  const std::vector<uint8_t> data =
      records(input, section, BUILDING_RECORD_BYTES, MAX_BUILDINGS, "buildings");
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

void readStacks(const Input& input, const Section& section, Map& map) {
  const std::vector<uint8_t> data =
      records(input, section, STACK_RECORD_BYTES, MAX_STACKS, "stacks");
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

// Reads the map file input holds; see readMap.
MapFile parse(const Input& input) {
  if (input.size() < SECTION_HEADER_BYTES) {
    throw exception("a file of " + std::to_string(input.size()) +
                    " bytes is too short for a map file");
  }
  MapFile file;
  file.fileSize = input.size();
  std::array<uint8_t, SECTION_HEADER_BYTES> header;
  input.read(0, header);
  file.storedChecksum = read32(&header[0]);
  file.computedChecksum = checksumOf(input);
  if (file.storedChecksum != file.computedChecksum) {
    file.warnings.push_back("checksum mismatch: the file says " +
                            std::to_string(file.storedChecksum) + ", its content gives " +
                            std::to_string(file.computedChecksum));
  }
  file.fileVersion = read32(&header[4]);
  if (file.fileVersion > 255) {
    throw exception("not a map file: its version word is " + std::to_string(file.fileVersion));
  }
  if (file.fileVersion != 10 && file.fileVersion != 11) {
    file.warnings.push_back("unknown file version " + std::to_string(file.fileVersion));
  }
  Map& map = file.map;
  map.fileVersion = static_cast<model::FileVersion>(file.fileVersion);

  file.sections = walk(input, file.warnings);
  const auto found = parsedSections(file.sections);
  if (!found.contains(SECTION_MAP_INFO)) {
    throw exception("the file has no map info section (type 1)");
  }
  if (!found.contains(SECTION_AREA)) throw exception("the file has no area section (type 6)");
  readMapInfo(input, found.at(SECTION_MAP_INFO), map);
  readArea(input, found.at(SECTION_AREA), map, file.warnings);
  if (found.contains(SECTION_PLAYERS)) {
    readPlayers(input, found.at(SECTION_PLAYERS), map, file.warnings);
  } else {
    file.warnings.push_back("the file has no player section (type 2)");
  }
  if (found.contains(SECTION_SETTLERS)) readSettlers(input, found.at(SECTION_SETTLERS), map);
  if (found.contains(SECTION_BUILDINGS)) readBuildings(input, found.at(SECTION_BUILDINGS), map);
  if (found.contains(SECTION_STACKS)) readStacks(input, found.at(SECTION_STACKS), map);

  auto at = [](const auto& entry) { return std::pair<uint32_t, uint32_t>(entry.posX, entry.posY); };
  warnOutside(map.players, map.size, "player start spots",
              [](const model::Player& p) { return std::pair(p.startX, p.startY); }, file.warnings);
  warnOutside(map.settlers, map.size, "settlers", at, file.warnings);
  warnOutside(map.buildings, map.size, "buildings", at, file.warnings);
  warnOutside(map.stacks, map.size, "goods piles", at, file.warnings);
  return file;
}

}  // namespace

MapFile readMap(std::span<const uint8_t> bytes) { return parse(MemoryInput(bytes)); }

MapFile importMap(const std::string& path) {
  const FileInput input(path);
  if (input.size() > MAX_MAP_FILE_BYTES) {
    throw exception(path + " has " + std::to_string(input.size()) +
                    " bytes; files over 512 MiB are not read");
  }
  return parse(input);
}

}  // namespace varnholt::mapfile
