// Each record kind written and read back through the layout both directions
// share: every field survives, the record fills exactly its size in the
// file, and nothing past it is written or read.
#include "mapfile/records.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "blank_map.h"
#include "mapfile.h"
#include "mapfile/fileformat.h"

namespace varnholt::mapfile {

namespace {

using model::Map;
using testing::Bytes;

// Encodes each record over two different fillings of a buffer longer than
// the record: both must agree on the record's bytes (every byte is written)
// and keep the filling after it (no byte past it is). Decoding must give the
// record back whatever follows it.
template <class Record>
void expectRoundTrip(const std::string& kind, const std::vector<Record>& records, size_t size,
                     const std::function<void(const Record&, uint8_t*)>& encode,
                     const std::function<Record(const uint8_t*)>& decode) {
  constexpr size_t kSpare = 8;
  for (size_t n = 0; n < records.size(); ++n) {
    Bytes first(size + kSpare, 0xA5);
    Bytes second(size + kSpare, 0x5A);
    encode(records[n], first.data());
    encode(records[n], second.data());
    EXPECT_EQ(Bytes(first.begin(), first.begin() + size),
              Bytes(second.begin(), second.begin() + size))
        << kind << " " << n << ": a byte of the record is left unwritten";
    EXPECT_EQ(Bytes(first.begin() + size, first.end()), Bytes(kSpare, 0xA5))
        << kind << " " << n << ": written past the record";
    EXPECT_EQ(decode(first.data()), records[n]) << kind << " " << n;
    EXPECT_EQ(decode(second.data()), records[n]) << kind << " " << n;
  }
}

TEST(Records, ListRecordsReadBackEqual) {
  using model::BuildingType;
  // Every troop count distinct, so two swapped nibbles cannot pass.
  expectRoundTrip<model::Building>(
      "building",
      {{1, BuildingType::TOWER, 2, 3, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
       {255, BuildingType::CASTLE, 0xFFFF, 0x0102, {15, 14, 13}, {12, 11, 10}, {9, 8, 7}},
       {0, static_cast<BuildingType>(200), 0, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 15}}},
      BUILDING_RECORD_BYTES, encodeBuilding, decodeBuilding);
  expectRoundTrip<model::Settler>("settler",
                                  {{1, model::SettlerType::BEARER, 0x0102, 0x0304},
                                   {255, static_cast<model::SettlerType>(254), 0xFFFF, 0}},
                                  SETTLER_RECORD_BYTES, encodeSettler, decodeSettler);
  expectRoundTrip<model::Stack>("stack",
                                {{model::StackType::PLANK, 0x0102, 0x0304, 8},
                                 {static_cast<model::StackType>(255), 0xFFFF, 0, 255}},
                                STACK_RECORD_BYTES, encodeStack, decodeStack);
  std::string name = testing::playerName("Ada");
  name[20] = '\xFF';
  expectRoundTrip<model::Player>(
      "player",
      {{name, 1, 2, model::CivilizationType::ASIANS},
       {testing::playerName(""), 0xFFFFFFFF, 0x01020304,
        static_cast<model::CivilizationType>(0xFFFF)}},
      PLAYER_RECORD_BYTES, encodePlayer, [](const uint8_t* in) { return decodePlayer(in, 0); });
}

// Tiles go as a run: each field of each tile lands in its own record, and a
// run starting inside the map touches only its own tiles.
TEST(Records, TilesReadBackEqual) {
  Map map = testing::blankMap(3);
  for (size_t i = 0; i < 9; ++i) {
    map.heights[i] = static_cast<uint8_t>(200 + i);
    map.landscape[i] = static_cast<model::LandscapeType>(10 + i);
    map.objects[i] = static_cast<model::ObjectType>(130 + i);
    map.party[i] = static_cast<uint8_t>(i);
    map.accessible[i] = static_cast<model::AccessibleType>(i % 4);
    map.resources[i] = static_cast<model::ResourceType>(15 - i);
    map.resourceAmounts[i] = static_cast<uint8_t>(i + 7);
  }
  Bytes bytes(9 * TILE_RECORD_BYTES + 1, 0xA5);
  encodeTiles(map, 0, 9, bytes.data());
  EXPECT_EQ(bytes.back(), 0xA5);
  Map back = testing::blankMap(3);
  decodeTiles(bytes.data(), 0, 9, back);
  EXPECT_EQ(back, map);

  Map part = testing::blankMap(3);
  decodeTiles(bytes.data() + 2 * TILE_RECORD_BYTES, 2, 3, part);
  for (size_t i = 0; i < 9; ++i) {
    const bool copied = i >= 2 && i < 5;
    EXPECT_EQ(part.heights[i], copied ? map.heights[i] : 0) << i;
    EXPECT_EQ(part.resourceAmounts[i], copied ? map.resourceAmounts[i] : 0) << i;
  }
}

// The map info holds three header values, then three zero words that are
// written but not read back.
TEST(Records, MapInfoReadsBackItsThreeValues) {
  Map map;
  map.gameType = model::GameType::MULTIPLAYER;
  map.playerCount = 0x01020304;
  map.startResources = model::StartResourcesType::LOW;
  Bytes bytes(MAP_INFO_RECORD_BYTES, 0xA5);
  encodeMapInfo(map, bytes.data());
  EXPECT_EQ(Bytes(bytes.begin() + MAP_INFO_READ_BYTES, bytes.end()),
            Bytes(MAP_INFO_RECORD_BYTES - MAP_INFO_READ_BYTES, 0));
  Map back;
  decodeMapInfo(bytes.data(), back);
  EXPECT_EQ(back.gameType, map.gameType);
  EXPECT_EQ(back.playerCount, map.playerCount);
  EXPECT_EQ(back.startResources, map.startResources);
}

}  // namespace
}  // namespace varnholt::mapfile
