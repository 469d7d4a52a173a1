#include "mapfile/reader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "mapfile/coding.h"
#include "mapfile/fileformat.h"
#include "mapfile/records.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

// The tiles are read in pieces of this many bytes, a whole number of records.
constexpr uint64_t kPieceBytes = uint64_t{4} * TILE_RECORD_BYTES << 16;

// Files end with fewer bytes than this after their last section: the
// program's two zero bytes, or up to three after a closing type-0 section.
constexpr uint64_t kMaxTrailerBytes = 3;

using Bytes = std::vector<uint8_t>;

std::string where(const Section& section) {
  return "section " + std::to_string(section.type) + " at offset " +
         std::to_string(section.offset);
}

uint64_t bodyLength(const Section& section) { return section.length - SECTION_HEADER_BYTES; }

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

// One pass over a file: the header, then each section as the walk meets it,
// its body read, unscrambled and decoded at once; the checksum is folded on
// the way and compared at the end.
class Parser {
 public:
  Parser(Input& input, const ReadLimits& limits) : stream_(input), limits_(limits) {}

  MapFile parse() {
    if (stream_.left() < SECTION_HEADER_BYTES) {
      throw exception("a file of " + std::to_string(stream_.left()) +
                      " bytes is too short for a map file");
    }
    file_.fileSize = stream_.left();
    readFileHeader();
    while (stream_.left() >= SECTION_HEADER_BYTES) {
      const Section section = readSectionHeader();
      if (section.type == 0) break;
      const uint64_t end = stream_.offset() + bodyLength(section);
      readBody(section);
      stream_.skip(end - stream_.offset());
    }
    if (stream_.left() > kMaxTrailerBytes) {
      walkWarnings_.push_back(std::to_string(stream_.left()) +
                              " bytes after the last section, from offset " +
                              std::to_string(stream_.offset()) + ", are ignored");
    }
    stream_.skip(stream_.left());
    file_.computedChecksum = stream_.checksum();
    if (!found_[SECTION_MAP_INFO]) throw exception("the file has no map info section (type 1)");
    if (!found_[SECTION_AREA]) throw exception("the file has no area section (type 6)");
    return finish();
  }

 private:
  void readFileHeader() {
    std::array<uint8_t, SECTION_HEADER_BYTES> header;
    stream_.read(header);
    file_.storedChecksum = read32(&header[0]);
    file_.fileVersion = read32(&header[4]);
    if (file_.fileVersion > 255) {
      throw exception("not a map file: its version word is " + std::to_string(file_.fileVersion));
    }
    file_.map.fileVersion = static_cast<model::FileVersion>(file_.fileVersion);
  }

  // The next header, checked against what is left of the file.
  Section readSectionHeader() {
    if (file_.sections.size() == MAX_SECTIONS) {
      throw exception("more than " + std::to_string(MAX_SECTIONS) + " sections before offset " +
                      std::to_string(stream_.offset()));
    }
    const uint64_t left = stream_.left();
    std::array<uint8_t, SECTION_HEADER_BYTES> header;
    Section section;
    section.offset = stream_.offset();
    stream_.read(header);
    section.typeWord = read32(&header[0]);
    section.type = static_cast<uint16_t>(section.typeWord & 0xFFFF);
    section.length = read32(&header[4]);
    file_.sections.push_back(section);
    if (section.type == 0) return section;
    if (section.length < SECTION_HEADER_BYTES) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      ", shorter than its own 8-byte header");
    }
    if (section.length > left) {
      throw exception(where(section) + " has length " + std::to_string(section.length) +
                      " but only " + std::to_string(left) + " bytes are left in the file");
    }
    return section;
  }

  void readBody(const Section& section) {
    if (section.type > LAST_SCRAMBLED_SECTION) {
      walkWarnings_.push_back("unknown " + where(section) + " skipped");
      return;
    }
    const bool parsed = section.type == SECTION_MAP_INFO || section.type == SECTION_PLAYERS ||
                        section.type == SECTION_AREA || section.type == SECTION_SETTLERS ||
                        section.type == SECTION_BUILDINGS || section.type == SECTION_STACKS;
    if (!parsed) return;
    if (const std::optional<Section>& first = found_[section.type]) {
      throw exception("section " + std::to_string(section.type) + " appears twice, at offsets " +
                      std::to_string(first->offset) + " and " + std::to_string(section.offset));
    }
    found_[section.type] = section;
    key_ = static_cast<uint8_t>(section.type);
    switch (section.type) {
      case SECTION_MAP_INFO: return readMapInfo(section);
      case SECTION_PLAYERS: return readPlayers(section);
      case SECTION_AREA: return readArea(section);
      case SECTION_SETTLERS: return readSettlers(section);
      case SECTION_BUILDINGS: return readBuildings(section);
      default: return readStacks(section);
    }
  }

  // The next count bytes of the current body, unscrambled.
  Bytes plain(uint64_t count) {
    Bytes bytes(count);
    stream_.read(bytes);
    key_ = decrypt(bytes, key_);
    return bytes;
  }

  void readMapInfo(const Section& section) {
    if (bodyLength(section) < MAP_INFO_READ_BYTES) {
      throw exception("map info section body has " + std::to_string(bodyLength(section)) +
                      " bytes, at least 12 needed");
    }
    decodeMapInfo(plain(MAP_INFO_READ_BYTES).data(), file_.map);
  }

  void readPlayers(const Section& section) {
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
    const Bytes body = plain(length);
    for (size_t i = 0; i < count; ++i) {
      file_.map.players.push_back(decodePlayer(&body[i * PLAYER_RECORD_BYTES], i));
    }
  }

  // The size word, checked against the section and the limits before any
  // layer grows; then the tiles piece by piece.
  void readArea(const Section& section) {
    const uint64_t length = bodyLength(section);
    if (length < 4) {
      throw exception("area section body has " + std::to_string(length) +
                      " bytes, too short for the map size");
    }
    const uint32_t size = read32(plain(4).data());
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
    if (size > limits_.maxMapSize) {
      throw exception("the map is " + std::to_string(size) + " tiles wide; maps wider than " +
                      std::to_string(limits_.maxMapSize) + " are not read");
    }
    Map& map = file_.map;
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
    for (size_t first = 0; first < tiles;) {
      const size_t count = std::min<uint64_t>(kPieceBytes, (tiles - first) * TILE_RECORD_BYTES) /
                           TILE_RECORD_BYTES;
      decodeTiles(plain(count * TILE_RECORD_BYTES).data(), first, count, map);
      for (size_t i = first; i < first + count; ++i) {
        if (!isKnown(map.objects[i]) && unknownObjects++ == 0) firstUnknown = i;
      }
      first += count;
    }
    if (unknownObjects > 0) {
      contentWarnings_.push_back(
          std::to_string(unknownObjects) + " tiles hold object codes above " +
          std::to_string(model::OBJECT_TYPE_COUNT - 1) + ", which no object has; the first, " +
          std::to_string(static_cast<unsigned>(map.objects[firstUnknown])) + ", at " +
          std::to_string(firstUnknown % size) + ", " + std::to_string(firstUnknown / size));
    }
    checkTowers();
  }

  // The plain records of a list section: a count word, then count records of
  // recordBytes each, which must fill the body exactly; at most cap of them.
  // The count is checked before the records are read.
  Bytes listRecords(const Section& section, uint64_t recordBytes, uint64_t cap,
                    const std::string& what) {
    const uint64_t length = bodyLength(section);
    if (length < 4) {
      throw exception(what + " section body has " + std::to_string(length) +
                      " bytes, too short for its count");
    }
    const uint64_t count = read32(plain(4).data());
    if (count * recordBytes != length - 4) {
      throw exception(what + " section counts " + std::to_string(count) + " records of " +
                      std::to_string(recordBytes) + " bytes but holds " +
                      std::to_string(length - 4) + " bytes");
    }
    if (count > cap) {
      throw exception(what + " section counts " + std::to_string(count) + " records; more than " +
                      std::to_string(cap) + " are not read");
    }
    return plain(length - 4);
  }

  void readSettlers(const Section& section) {
    const Bytes data = listRecords(section, SETTLER_RECORD_BYTES, MAX_SETTLERS, "settlers");
    for (size_t at = 0; at < data.size(); at += SETTLER_RECORD_BYTES) {
      file_.map.settlers.push_back(decodeSettler(&data[at]));
    }
  }

  void readBuildings(const Section& section) {
    const Bytes data = listRecords(section, BUILDING_RECORD_BYTES, MAX_BUILDINGS, "buildings");
    for (size_t at = 0; at < data.size(); at += BUILDING_RECORD_BYTES) {
      file_.map.buildings.push_back(decodeBuilding(&data[at]));
    }
    checkTowers();
  }

  void readStacks(const Section& section) {
    const Bytes data = listRecords(section, STACK_RECORD_BYTES, MAX_STACKS, "stacks");
    for (size_t at = 0; at < data.size(); at += STACK_RECORD_BYTES) {
      file_.map.stacks.push_back(decodeStack(&data[at]));
    }
  }

  // Applies the tower limit once the buildings and the map size are known.
  void checkTowers() const {
    if (!found_[SECTION_AREA] || !found_[SECTION_BUILDINGS]) return;
    const Map& map = file_.map;
    const auto onTheMap = [&](const model::Building& b) {
      return model::isTower(b.buildingType) && b.posX < map.size && b.posY < map.size;
    };
    const auto towers = std::count_if(map.buildings.begin(), map.buildings.end(), onTheMap);
    if (static_cast<uint64_t>(towers) > limits_.maxTowers) {
      throw exception("the map has " + std::to_string(towers) + " towers; more than " +
                      std::to_string(limits_.maxTowers) + " are not read");
    }
  }

  // The warnings in a fixed order (the file's own, the walk's, the content's)
  // and the checks across sections.
  MapFile finish() {
    std::vector<std::string> warnings;
    if (file_.storedChecksum != file_.computedChecksum) {
      warnings.push_back("checksum mismatch: the file says " +
                         std::to_string(file_.storedChecksum) + ", its content gives " +
                         std::to_string(file_.computedChecksum));
    }
    if (file_.fileVersion != 10 && file_.fileVersion != 11) {
      warnings.push_back("unknown file version " + std::to_string(file_.fileVersion));
    }
    warnings.insert(warnings.end(), walkWarnings_.begin(), walkWarnings_.end());
    warnings.insert(warnings.end(), contentWarnings_.begin(), contentWarnings_.end());
    const Map& map = file_.map;
    if (!found_[SECTION_PLAYERS]) {
      warnings.push_back("the file has no player section (type 2)");
    } else if (map.players.size() != map.playerCount) {
      warnings.push_back("the map info section counts " + std::to_string(map.playerCount) +
                         " players, the player section holds " +
                         std::to_string(map.players.size()));
    }
    auto at = [](const auto& entry) {
      return std::pair<uint32_t, uint32_t>(entry.posX, entry.posY);
    };
    warnOutside(map.players, map.size, "player start spots",
                [](const model::Player& p) { return std::pair(p.startX, p.startY); }, warnings);
    warnOutside(map.settlers, map.size, "settlers", at, warnings);
    warnOutside(map.buildings, map.size, "buildings", at, warnings);
    warnOutside(map.stacks, map.size, "goods piles", at, warnings);
    file_.warnings = std::move(warnings);
    return std::move(file_);
  }

  ByteStream stream_;
  const ReadLimits& limits_;
  MapFile file_;
  uint8_t key_ = 0;  // the scrambling key of the next body byte
  std::array<std::optional<Section>, LAST_SCRAMBLED_SECTION + 1> found_;  // parsed, by type
  std::vector<std::string> walkWarnings_;
  std::vector<std::string> contentWarnings_;
};

}  // namespace

MapFile readMap(Input& input, const ReadLimits& limits) { return Parser(input, limits).parse(); }

MapFile readMap(std::span<const uint8_t> bytes, const ReadLimits& limits) {
  MemoryInput input(bytes);
  return readMap(input, limits);
}

MapFile importMap(const std::string& path, const ReadLimits& limits) {
  const std::unique_ptr<Input> input = openMapFile(path);
  return readMap(*input, limits);
}

}  // namespace varnholt::mapfile
