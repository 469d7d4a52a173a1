// The map file writer: record layouts, section placement, the console lines
// of a whole export, and what a failing export gives.
#include "mapfile/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "console.h"
#include "mapfile/reader.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

using model::Map;

// Runs call with a recording console; returns what it printed and, if it
// threw, the error.
template <class Call>
std::string printed(Call call, std::optional<Error>* error = nullptr) {
  testing::Recorder recorder;
  try {
    call(recorder.console());
  } catch (const Error& e) {
    if (error) *error = e;
  }
  return recorder.text();
}

std::string playerName(uint32_t number) {
  std::string name = "Player " + std::to_string(number);
  name.resize(33, '\0');
  return name;
}

// A consistent map whose layers differ from tile to tile, with one settler,
// one building and two stacks.
Map exampleMap(uint32_t size, uint32_t playerCount) {
  Map map;
  map.startResources = model::StartResourcesType::HIGH;
  map.playerCount = playerCount;
  map.size = size;
  const size_t tiles = size_t{size} * size;
  for (size_t i = 0; i < tiles; ++i) {
    map.heights.push_back(static_cast<uint8_t>(i * 37) & 0xF7);  // bit 3 clear: never too steep
    map.landscape.push_back(static_cast<model::LandscapeType>(i % 40));
    map.objects.push_back(static_cast<model::ObjectType>(i % 200));
    map.party.push_back(static_cast<uint8_t>(i % 9 == 8 ? 255 : i % 9));
    map.accessible.push_back(static_cast<model::AccessibleType>(i % 4));
    map.resources.push_back(static_cast<model::ResourceType>(i % 6));
    map.resourceAmounts.push_back(static_cast<uint8_t>(i % 16));
  }
  for (uint32_t p = 0; p < playerCount; ++p) {
    map.players.push_back(
        {playerName(p), 10 + p, 20 + p, static_cast<model::CivilizationType>(p % 4)});
  }
  map.settlers = {{1, model::SettlerType::PIONEER, 3, 2}};
  map.buildings = {{1, model::BuildingType::TOWER, 2, 3, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
  map.stacks = {{model::StackType::PLANK, 1, 1, 8}, {model::StackType::STONE, 2, 1, 6}};
  return map;
}

Bytes words(std::initializer_list<uint32_t> values) {
  Bytes bytes;
  for (uint32_t value : values) write(bytes, value);
  return bytes;
}

std::string writeLines() {
  std::string lines;
  for (int i = 1; i <= 12; ++i) lines += "write " + std::to_string(i) + "\n";
  return lines;
}

// Undoes the scrambling of every section of a file with the program's layout.
Bytes unscrambled(Bytes file) {
  size_t offset = 8;
  for (int section = 0; section < 6; ++section) {
    const uint32_t type = read32(&file[offset]);
    const uint32_t length = read32(&file[offset + 4]);
    decrypt(std::span(file).subspan(offset + 8, length - 8), static_cast<uint8_t>(type));
    offset += length;
  }
  return file;
}

TEST(MapExport, EightPlayersAtSize320) {
  Bytes file;
  const std::string lines =
      printed([&](const Console& console) { file = exportMap(exampleMap(320, 8), console); });

  EXPECT_EQ(lines, writeLines() +
                       "1 - 24\nencrypt 1\n40\n"
                       "2 - 360\nencrypt 2\n408\n"
                       "6 - 614404\nencrypt 6\n614820\n"
                       "7 - 10\nencrypt 7\n614838\n"
                       "8 - 16\nencrypt 8\n614862\n"
                       "9 - 20\nencrypt 9\n614890\n"
                       "stream end\nsize 614892\n");
  ASSERT_EQ(file.size(), 98u + 45 * 8 + 6 * 320 * 320 + 6 + 12 + 8 * 2);
  EXPECT_EQ(read32(&file[4]), 11u);
  struct Header {
    size_t offset;
    uint32_t type;
    uint32_t length;
  };
  const Header headers[] = {{8, 1, 32},           {40, 2, 45 * 8 + 8},  {408, 6, 6 * 320 * 320 + 12},
                            {614820, 7, 6 + 12}, {614838, 8, 12 + 12}, {614862, 9, 16 + 12}};
  for (const Header& h : headers) {
    EXPECT_EQ(read32(&file[h.offset]), h.type) << "at " << h.offset;
    EXPECT_EQ(read32(&file[h.offset + 4]), h.length) << "at " << h.offset;
  }
  EXPECT_EQ(file[614890], 0);
  EXPECT_EQ(file[614891], 0);
  EXPECT_EQ(read32(&file[0]), checksum(file));
}

TEST(MapExport, DecodingRestoresThePlainFile) {
  const Map map = exampleMap(37, 3);  // 8481 bytes: one byte after the last whole word
  const Bytes plain = writeMap(map, testing::quiet);
  const Bytes sealed = exportMap(map, testing::quiet);
  ASSERT_EQ(plain.size(), 8481u);
  EXPECT_EQ(read32(&plain[0]), 0u);
  EXPECT_NE(sealed, plain);

  Bytes decoded = unscrambled(sealed);
  for (int k = 0; k < 4; ++k) decoded[k] = 0;
  EXPECT_EQ(decoded, plain);
  uint32_t recomputed = 0;
  printed([&](const Console& console) { recomputed = calculateChecksum(sealed, console); });
  EXPECT_EQ(read32(&sealed[0]), recomputed);
}

TEST(MapExport, NoPlayersEndsTheWalkAtThePlayerSection) {
  Map map = exampleMap(4, 0);
  const Bytes plain = writeMap(map, testing::quiet);
  Bytes sealed;
  const std::string lines =
      printed([&](const Console& console) { sealed = exportMap(map, console); });
  EXPECT_EQ(lines, writeLines() + "1 - 24\nencrypt 1\n40\n2 - 0\nend of file\nsize 228\n");

  ASSERT_EQ(sealed.size(), 228u);
  EXPECT_EQ(read32(&plain[44]), 8u);
  EXPECT_NE(Bytes(sealed.begin() + 16, sealed.begin() + 40), Bytes(plain.begin() + 16, plain.begin() + 40));
  EXPECT_EQ(Bytes(sealed.begin() + 4, sealed.begin() + 16), Bytes(plain.begin() + 4, plain.begin() + 16));
  EXPECT_EQ(Bytes(sealed.begin() + 40, sealed.end()), Bytes(plain.begin() + 40, plain.end()));
  EXPECT_EQ(read32(&sealed[0]), checksum(sealed));
}

TEST(MapExportRecords, PlayerRecord) {
  Map map;
  map.playerCount = 1;
  map.players = {{playerName(7), 0x01020304, 7, model::CivilizationType::NOT_DEFINED}};
  Bytes out;
  writePlayerInfo(map, out);
  Bytes expected = words({2, 53, 256, 0x01020304, 7});
  expected.insert(expected.end(), map.players[0].name.begin(), map.players[0].name.end());
  EXPECT_EQ(out, expected);
}

TEST(MapExportRecords, TileRecordsInIndexOrder) {
  Map map = exampleMap(2, 0);
  map.heights = {200, 1, 2, 3};
  map.resources = {model::ResourceType::FISH, model::ResourceType::COAL, model::ResourceType::GOLDORE,
                   static_cast<model::ResourceType>(5)};
  map.resourceAmounts = {0, 15, 17, 255};  // only the low nibble reaches the file
  Bytes out;
  writeArea(map, out);
  Bytes expected = words({6, 36, 2});
  for (size_t i = 0; i < 4; ++i) {
    const uint8_t resource[] = {0x00, 0x1F, 0x31, 0x5F};
    for (uint8_t byte : {map.heights[i], static_cast<uint8_t>(map.landscape[i]),
                         static_cast<uint8_t>(map.objects[i]), map.party[i],
                         static_cast<uint8_t>(map.accessible[i]), resource[i]}) {
      expected.push_back(byte);
    }
  }
  EXPECT_EQ(out, expected);
}

TEST(MapExportRecords, ListSections) {
  Map map;
  map.settlers = {{3, static_cast<model::SettlerType>(40), 0x0102, 0x0304}};
  map.stacks = {{static_cast<model::StackType>(5), 0x0102, 0x0304, 8}};
  Bytes settlers;
  writeSettlers(map, settlers);
  Bytes stacks;
  writeStacks(map, stacks);
  Bytes noBuildings;
  writeBuildings(map, noBuildings);
  EXPECT_EQ(settlers, (Bytes{7, 0, 0, 0, 18, 0, 0, 0, 1, 0, 0, 0, 3, 40, 2, 1, 4, 3}));
  EXPECT_EQ(stacks, (Bytes{9, 0, 0, 0, 20, 0, 0, 0, 1, 0, 0, 0, 2, 1, 4, 3, 5, 8, 254, 0}));
  EXPECT_EQ(noBuildings, words({8, 12, 0}));
}

TEST(MapExportRecords, BuildingTroopsArePackedOutOfOrder) {
  struct Case {
    std::array<uint8_t, 3> swords, archers, spears;
    std::array<uint8_t, 5> packed;  // bytes 7 to 11
  };
  const Case cases[] = {
      {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 2, 0, 16}},
      {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0x12, 0x56, 0x34, 0x90, 0x78}},
      {{17, 18, 19}, {20, 21, 22}, {23, 24, 25}, {0x12, 0x56, 0x34, 0x90, 0x78}},
  };
  for (const Case& c : cases) {
    Map map;
    map.buildings = {{4, model::BuildingType::TOWER, 0x0102, 0x0304, c.swords, c.archers, c.spears}};
    Bytes out;
    writeBuildings(map, out);
    Bytes expected = words({8, 24, 1});
    for (uint8_t byte : {4, 15, 2, 1, 4, 3, 0}) expected.push_back(byte);
    expected.insert(expected.end(), c.packed.begin(), c.packed.end());
    EXPECT_EQ(out, expected) << int{c.swords[0]} << int{c.archers[0]} << int{c.spears[0]};
  }
}

// A map whose header count and player records disagree, as a file read
// back may, is written with a player section that holds its records whole:
// it reads back equal, the disagreement still warned about.
TEST(MapExport, PlayerCountAndRecordsThatDisagreeStayReadable) {
  for (const uint32_t count : {0u, 1u, 5u}) {
    Map map = exampleMap(8, 2);
    map.playerCount = count;
    const Bytes file = exportMap(map, testing::quiet);
    EXPECT_EQ(read32(&file[40]), 2u);
    EXPECT_EQ(read32(&file[44]), 45u * 2 + 8) << count;
    const MapFile back = readMap(file);
    EXPECT_EQ(back.map, map) << count;
    const std::string disagreement = "the map info section counts " + std::to_string(count) +
                                     " players, the player section holds 2";
    EXPECT_NE(std::find(back.warnings.begin(), back.warnings.end(), disagreement),
              back.warnings.end())
        << count;
  }
}

TEST(MapExport, IllegalPlayerNameStopsTheExport) {
  for (const std::string& name : {std::string(), std::string(32, 'a'), std::string(34, 'a')}) {
    Map map = exampleMap(4, 2);
    map.players[1].name = name;
    std::optional<Error> error;
    const std::string lines =
        printed([&](const Console& console) { exportMap(map, console); }, &error);
    ASSERT_TRUE(error) << name.size();
    EXPECT_EQ(error->kind(), "Exception");
    EXPECT_EQ(std::string(error->what()), "Illegal player name length: " + name);
    EXPECT_EQ(lines, "write 1\nwrite 2\n");
  }
}

TEST(MapExport, SteepSlopeStopsTheExportBeforeItWrites) {
  Map map = exampleMap(10, 1);
  map.heights.assign(100, 0);
  map.heights[4 + 10 * 6] = 24;
  map.heights[3 + 10 * 5] = 16;  // bit 3 clear: this tile itself passes
  std::optional<Error> error;
  EXPECT_EQ(printed([&](const Console& console) { exportMap(map, console); }, &error), "");
  ASSERT_TRUE(error);
  EXPECT_EQ(std::string(error->what()), "Illegal slope at 4x6");
}

}  // namespace
}  // namespace varnholt::mapfile
