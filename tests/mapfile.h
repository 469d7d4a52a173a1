#pragma once

// Builds map files byte by byte for the reader's tests: a Map laid out as the
// program's own sections, or any list of sections, then scrambled and sealed
// with the checksum the way the game expects.
#include <cstdint>
#include <optional>
#include <vector>

#include "varnholt/model/map.h"
#include "mapfile/nibbles.h"

namespace varnholt::testing {

using Bytes = std::vector<uint8_t>;

inline void put8(Bytes& out, uint8_t v) { out.push_back(v); }
inline void put16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

struct SectionLayout {
  uint32_t typeWord = 0;
  Bytes body;                     // plain
  std::optional<uint32_t> length;  // written instead of 8 + body size when set
};

struct FileLayout {
  uint32_t version = 11;
  std::vector<SectionLayout> sections;
  Bytes trailer = {0, 0};
};

// The running-key scrambling, written out independently of the reader.
inline void scramble(uint8_t* body, size_t count, uint8_t key) {
  for (size_t i = 0; i < count; ++i) {
    const uint8_t plain = body[i];
    body[i] = plain ^ key;
    key = static_cast<uint8_t>((key << 1) ^ plain);
  }
}

inline uint32_t checksumOf(const Bytes& file) {
  uint32_t sum = 0;
  for (size_t at = 4; at + 4 <= file.size(); at += 4) {
    const uint32_t word = file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                          static_cast<uint32_t>(file[at + 3]) << 24;
    sum = ((sum << 1) ^ word) | (sum >> 31);
  }
  return sum;
}

// The file: checksum word, version, every section (bodies of types 1 to 12
// scrambled with their type as key), the trailer; then the checksum.
inline Bytes seal(const FileLayout& layout) {
  Bytes file;
  put32(file, 0);
  put32(file, layout.version);
  for (const SectionLayout& section : layout.sections) {
    put32(file, section.typeWord);
    put32(file, section.length.value_or(static_cast<uint32_t>(8 + section.body.size())));
    const size_t at = file.size();
    file.insert(file.end(), section.body.begin(), section.body.end());
    const uint16_t type = static_cast<uint16_t>(section.typeWord);
    if (type >= 1 && type <= 12) scramble(&file[at], section.body.size(), static_cast<uint8_t>(type));
  }
  file.insert(file.end(), layout.trailer.begin(), layout.trailer.end());
  const uint32_t sum = checksumOf(file);
  for (int k = 0; k < 4; ++k) file[k] = static_cast<uint8_t>(sum >> (8 * k));
  return file;
}

inline Bytes mapInfoBody(uint32_t gameType, uint32_t playerCount, uint32_t startResources) {
  Bytes body;
  for (uint32_t word : {gameType, playerCount, startResources, 0u, 0u, 0u}) put32(body, word);
  return body;
}

// The six sections the program writes for map, in its order.
inline FileLayout layoutOf(const model::Map& map) {
  FileLayout layout;
  layout.version = static_cast<uint32_t>(map.fileVersion);
  layout.sections.push_back({1,
                           mapInfoBody(static_cast<uint32_t>(map.gameType), map.playerCount,
                                       static_cast<uint32_t>(map.startResources)),
                           {}});
  Bytes players;
  for (const model::Player& p : map.players) {
    put32(players, static_cast<uint32_t>(p.civilization));
    put32(players, p.startX);
    put32(players, p.startY);
    players.insert(players.end(), p.name.begin(), p.name.end());
  }
  layout.sections.push_back({2, players, {}});
  Bytes area;
  put32(area, map.size);
  for (size_t i = 0; i < map.heights.size(); ++i) {
    put8(area, map.heights[i]);
    put8(area, static_cast<uint8_t>(map.landscape[i]));
    put8(area, static_cast<uint8_t>(map.objects[i]));
    put8(area, map.party[i]);
    put8(area, static_cast<uint8_t>(map.accessible[i]));
    put8(area, createHighLow(static_cast<uint8_t>(map.resources[i]), map.resourceAmounts[i]));
  }
  layout.sections.push_back({6, area, {}});
  Bytes settlers;
  put32(settlers, static_cast<uint32_t>(map.settlers.size()));
  for (const model::Settler& s : map.settlers) {
    put8(settlers, s.party);
    put8(settlers, static_cast<uint8_t>(s.settlerType));
    put16(settlers, s.posX);
    put16(settlers, s.posY);
  }
  layout.sections.push_back({7, settlers, {}});
  Bytes buildings;
  put32(buildings, static_cast<uint32_t>(map.buildings.size()));
  for (const model::Building& b : map.buildings) {
    put8(buildings, b.party);
    put8(buildings, static_cast<uint8_t>(b.buildingType));
    put16(buildings, b.posX);
    put16(buildings, b.posY);
    put8(buildings, 0);
    put8(buildings, createHighLow(b.swordCount[0], b.swordCount[1]));
    put8(buildings, createHighLow(b.archerCount[1], b.archerCount[2]));
    put8(buildings, createHighLow(b.swordCount[2], b.archerCount[0]));
    put8(buildings, createHighLow(b.spearCount[2], 0));
    put8(buildings, createHighLow(b.spearCount[0], b.spearCount[1]));
  }
  layout.sections.push_back({8, buildings, {}});
  Bytes stacks;
  put32(stacks, static_cast<uint32_t>(map.stacks.size()));
  for (const model::Stack& s : map.stacks) {
    put16(stacks, s.posX);
    put16(stacks, s.posY);
    put8(stacks, static_cast<uint8_t>(s.stackType));
    put8(stacks, s.count);
    put8(stacks, 254);
    put8(stacks, 0);
  }
  layout.sections.push_back({9, stacks, {}});
  return layout;
}

// A name of the 33 bytes the file requires.
inline std::string playerName(const std::string& text) {
  std::string name = text;
  name.resize(33, '\0');
  return name;
}

}  // namespace varnholt::testing
