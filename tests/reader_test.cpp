#include "mapfile/reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <span>

#include "blank_map.h"
#include "console.h"
#include "expect_error.h"
#include "mapfile.h"
#include "varnholt/model/error.h"
#include "tempdir.h"
#include "varnholt/varnholt.h"

namespace varnholt::mapfile {

namespace {

using model::Map;
using testing::Bytes;
using testing::FileLayout;
using testing::seal;
using testing::layoutOf;

// A 5 x 5 map that uses every field: distinct soldier counts, amounts up to
// 15, a 16-bit civilisation code, odd ground and party values.
Map sampleMap() {
  Map map = testing::blankMap(5);
  map.gameType = model::GameType::MULTIPLAYER;
  map.startResources = model::StartResourcesType::MEDIUM;
  map.playerCount = 2;
  for (size_t i = 0; i < 25; ++i) {
    map.heights[i] = static_cast<uint8_t>(i * 7);
    map.landscape[i] = static_cast<model::LandscapeType>(i * 11);
    map.objects[i] = static_cast<model::ObjectType>(i * 5);
    map.party[i] = static_cast<uint8_t>(i % 3 == 0 ? 255 : i % 3);
    map.accessible[i] = static_cast<model::AccessibleType>(i % 10);
    map.resources[i] = static_cast<model::ResourceType>(i % 7);
    map.resourceAmounts[i] = static_cast<uint8_t>(i % 16);
  }
  map.players = {{testing::playerName("Ada"), 1, 2, model::CivilizationType::NOT_DEFINED},
                 {testing::playerName("Bo"), 3, 4, model::CivilizationType::ASIANS}};
  map.buildings = {{1, model::BuildingType::TOWER, 2, 3, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                   {2, model::BuildingType::CASTLE, 4, 0, {15, 0, 15}, {0, 15, 0}, {15, 15, 15}}};
  map.stacks = {{model::StackType::PLANK, 0, 1, 8}, {model::StackType::HONEY, 4, 4, 255}};
  map.settlers = {{1, model::SettlerType::BEARER, 0, 0},
                  {2, model::SettlerType::NOT_A_SETTLER, 4, 3},
                  {255, model::SettlerType::MAGE, 1, 1}};
  return map;
}

TEST(MapImport, ReadsTheProgramsLayoutIntoAnEqualMap) {
  const Map map = sampleMap();
  const MapFile file = readMap(seal(layoutOf(map)));
  EXPECT_EQ(file.map, map);
  EXPECT_TRUE(file.warnings.empty());
  EXPECT_EQ(file.storedChecksum, file.computedChecksum);
  EXPECT_EQ(file.fileVersion, 11u);
  std::vector<uint16_t> types;
  for (const Section& section : file.sections) types.push_back(section.type);
  EXPECT_EQ(types, (std::vector<uint16_t>{1, 2, 6, 7, 8, 9}));
  EXPECT_EQ(file.sections[0].offset, 8u);
  EXPECT_EQ(file.sections[0].length, 32u);
}

TEST(MapImport, TestScramblerAgreesWithTheWorkedExample) {
  Bytes body = testing::mapInfoBody(1, 8, 0);
  testing::scramble(body.data(), body.size(), 1);
  Bytes expected = {0x00, 0x03, 0x06, 0x0C, 0x10, 0x38, 0x70, 0xE0, 0xC0, 0x80};
  expected.resize(24, 0);
  EXPECT_EQ(body, expected);
}

// Files made with the game's own tools: version 10, further sections whose
// type words carry junk in the upper bits, no entity lists, and a closing
// type-0 section of length 8 followed by one to three bytes.
TEST(MapImport, ReadsTheGameToolsLayout) {
  for (size_t extra = 1; extra <= 3; ++extra) {
    Map map = sampleMap();
    map.fileVersion = model::FileVersion::ORIGINAL;
    map.buildings.clear();
    map.stacks.clear();
    map.settlers.clear();
    FileLayout layout = layoutOf(map);
    layout.version = 10;
    layout.sections.resize(3);  // map info, players, area
    layout.sections.insert(layout.sections.begin() + 2, {0xABCD0003, Bytes(17, 0x5A), {}});
    layout.sections.insert(layout.sections.begin() + 3, {0x80000004, Bytes(3, 1), {}});
    layout.sections.push_back({0xFFFF000A, Bytes(40, 0xC3), {}});
    layout.sections.push_back({0x00000000, {}, {}});
    layout.trailer = Bytes(extra, 0xEE);

    const MapFile file = readMap(seal(layout));
    EXPECT_EQ(file.map, map) << extra;
    EXPECT_TRUE(file.warnings.empty()) << extra;
    std::vector<uint32_t> words;
    for (const Section& section : file.sections) words.push_back(section.typeWord);
    EXPECT_EQ(words, (std::vector<uint32_t>{1, 2, 0xABCD0003, 0x80000004, 6, 0xFFFF000A, 0}));
    EXPECT_EQ(file.sections[2].type, 3);
    EXPECT_EQ(file.sections.back().length, 8u);
  }
}

struct Case {
  const char* name;
  std::function<Bytes()> file;
  const char* message;  // part of the error, or of a warning when the file still reads
  bool reads;
};

Bytes sealed(const std::function<void(FileLayout&)>& change) {
  FileLayout layout = layoutOf(sampleMap());
  change(layout);
  return seal(layout);
}

Bytes patched(size_t at, uint32_t word) {
  Bytes file = seal(layoutOf(sampleMap()));
  for (size_t k = 0; k < 4; ++k) file[at + k] = static_cast<uint8_t>(word >> (8 * k));
  return file;
}

Bytes cut(size_t keep) {
  Bytes file = seal(layoutOf(sampleMap()));
  file.resize(keep);
  return file;
}

// A list section body of count zeroed records.
Bytes list(uint32_t count, size_t recordBytes) {
  Bytes body;
  testing::put32(body, count);
  body.resize(4 + count * recordBytes);
  return body;
}

// Offsets in the sample file: map info at 8, players at 40 (98 bytes), area
// at 138 (162 bytes), settlers at 300, buildings at 330, stacks at 366.
TEST(MapImport, MalformedFilesGiveOneClearErrorOrAWarning) {
  const Case cases[] = {
      {"empty file", [] { return Bytes{}; }, "0 bytes is too short", false},
      {"half a header", [] { return cut(6); }, "6 bytes is too short", false},
      {"header only", [] { return cut(8); }, "no map info section", false},
      {"cut inside a section header", [] { return cut(44); }, "no area section", false},
      {"cut inside the map info", [] { return cut(30); }, "only 22 bytes are left", false},
      {"cut inside the area", [] { return cut(200); }, "section 6 at offset 138 has length 162",
       false},
      {"cut inside the stacks", [] { return cut(380); }, "section 9 at offset 366", false},
      {"length below the header", [] { return patched(12, 7); }, "shorter than its own 8-byte",
       false},
      {"length 0", [] { return patched(142, 0); }, "section 6 at offset 138 has length 0", false},
      {"length past the end", [] { return patched(142, 0xFFFFFFF0); }, "bytes are left", false},
      {"version word out of range", [] { return patched(4, 0x10000); }, "not a map file", false},
      {"unknown version", [] { return sealed([](FileLayout& s) { s.version = 12; }); },
       "unknown file version 12", true},
      {"checksum mismatch", [] { return patched(0, 12345); }, "checksum mismatch", true},
      {"map info missing",
       [] { return sealed([](FileLayout& s) { s.sections.erase(s.sections.begin()); }); },
       "no map info section", false},
      {"area missing",
       [] { return sealed([](FileLayout& s) { s.sections.erase(s.sections.begin() + 2); }); },
       "no area section", false},
      {"players missing",
       [] { return sealed([](FileLayout& s) { s.sections.erase(s.sections.begin() + 1); }); },
       "no player section", true},
      {"section repeated",
       [] { return sealed([](FileLayout& s) { s.sections.push_back(s.sections[3]); }); },
       "section 7 appears twice, at offsets 300 and", false},
      {"unknown section type",
       [] {
         return sealed([](FileLayout& s) { s.sections.insert(s.sections.begin(), {0x77, {1, 2}, {}}); });
       },
       "unknown section 119 at offset 8 skipped", true},
      {"map info too short",
       [] { return sealed([](FileLayout& s) { s.sections[0].body.resize(8); }); },
       "map info section body has 8 bytes", false},
      {"game type beyond a byte",
       [] { return sealed([](FileLayout& s) { s.sections[0].body[1] = 1; }); },
       "game type 256 does not fit one byte", false},
      {"player count disagrees",
       [] { return sealed([](FileLayout& s) { s.sections[0].body[4] = 9; }); },
       "counts 9 players, the player section holds 2", true},
      {"player record cut",
       [] { return sealed([](FileLayout& s) { s.sections[1].body.pop_back(); }); },
       "not a whole number of 45-byte records", false},
      {"civilisation beyond 16 bits",
       [] { return sealed([](FileLayout& s) { s.sections[1].body[2] = 1; }); },
       "civilization code 65792", false},
      {"map size 0",
       [] {
         return sealed([](FileLayout& s) { s.sections[2].body = {0, 0, 0, 0}; });
       },
       "map size 0", false},
      {"size disagrees with the tiles",
       [] { return sealed([](FileLayout& s) { s.sections[2].body[0] = 6; }); },
       "a map of size 6 needs 216 bytes of tiles, the section holds 150", false},
      {"size whose square overflows 32 bits",
       [] { return sealed([](FileLayout& s) { s.sections[2].body[2] = 1; }); },
       "a map of size 65541 needs", false},
      {"size whose tile bytes overflow 64 bits",
       [] {
         return sealed([](FileLayout& s) {
           for (int k = 0; k < 4; ++k) s.sections[2].body[k] = 0xFF;
         });
       },
       "map size 4294967295 is too large", false},
      {"absurd settler count",
       [] {
         return sealed([](FileLayout& s) {
           for (int k = 0; k < 4; ++k) s.sections[3].body[k] = 0xFF;
         });
       },
       "settlers section counts 4294967295 records", false},
      {"building list without its count",
       [] { return sealed([](FileLayout& s) { s.sections[4].body.resize(2); }); },
       "buildings section body has 2 bytes", false},
      {"stack count one too high",
       [] { return sealed([](FileLayout& s) { s.sections[5].body[0] = 3; }); },
       "stacks section counts 3 records of 8 bytes but holds 16", false},
      {"entities outside the map",
       [] { return sealed([](FileLayout& s) { s.sections[3].body[6 + 2] = 9; }); },
       "1 settlers outside the 5-tile map", true},
      {"bytes after the trailer",
       [] { return sealed([](FileLayout& s) { s.trailer = Bytes(6, 0); }); },
       "6 bytes after the last section, from offset", true},
      {"bytes after the closing section",
       [] {
         return sealed([](FileLayout& s) {
           s.sections.push_back({0, {}, {}});
           s.trailer = Bytes(100, 0x42);
         });
       },
       "100 bytes after the last section, from offset", true},
      {"object codes no object has",
       [] {
         return sealed([](FileLayout& s) {
           s.sections[2].body[4 + 3 * 6 + 2] = 200;
           s.sections[2].body[4 + 7 * 6 + 2] = 128;
         });
       },
       "2 tiles hold object codes above 127, which no object has; the first, 200, at 3, 0", true},
      {"more players than parties",
       [] {
         return sealed([](FileLayout& s) { s.sections[1].body.resize(257 * 45); });
       },
       "player section holds 257 records; more than 256 players are not read", false},
      {"too many buildings",
       [] { return sealed([](FileLayout& s) { s.sections[4].body = list(10001, 12); }); },
       "buildings section counts 10001 records; more than 10000 are not read", false},
      {"too many settlers",
       [] { return sealed([](FileLayout& s) { s.sections[3].body = list(1000001, 6); }); },
       "settlers section counts 1000001 records; more than 1000000 are not read", false},
      {"too many goods piles",
       [] { return sealed([](FileLayout& s) { s.sections[5].body = list(1000001, 8); }); },
       "stacks section counts 1000001 records; more than 1000000 are not read", false},
      {"endless little sections",
       [] {
         return sealed([](FileLayout& s) {
           s.sections.insert(s.sections.begin(), MAX_SECTIONS, {0x20, {}, {}});
         });
       },
       "more than 1024 sections", false},
  };
  for (const Case& c : cases) {
    const Bytes bytes = c.file();
    try {
      const MapFile file = readMap(bytes);
      EXPECT_TRUE(c.reads) << c.name << ": no error";
      std::string all;
      for (const std::string& warning : file.warnings) all += warning + "\n";
      EXPECT_NE(all.find(c.message), std::string::npos) << c.name << ": warnings were\n" << all;
    } catch (const Error& error) {
      EXPECT_FALSE(c.reads) << c.name << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.name << ": " << error.what();
      EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos) << c.name;
    }
  }
}

TEST(MapImport, EveryTruncationEndsInAnErrorOrAReadableMap) {
  const Bytes full = seal(layoutOf(sampleMap()));
  for (size_t keep = 0; keep < full.size(); ++keep) {
    const Bytes bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keep));
    try {
      const MapFile file = readMap(bytes);
      // Only a cut between whole sections can still read, and then the checksum tells.
      EXPECT_FALSE(file.warnings.empty()) << keep;
    } catch (const Error&) {
    }
  }
}

// Hands out the bytes of a file made of head and then zeros up to size,
// without holding them, and counts what it hands out.
class CountingInput final : public Input {
 public:
  CountingInput(Bytes head, uint64_t size) : head_(std::move(head)), size_(size) {}
  uint64_t size() const override { return size_; }
  void read(std::span<uint8_t> out) override {
    for (uint8_t& byte : out) {
      byte = handed_ < head_.size() ? head_[handed_] : 0;
      ++handed_;
    }
  }
  uint64_t handed() const { return handed_; }

 private:
  Bytes head_;
  uint64_t size_;
  uint64_t handed_ = 0;
};

// Every byte is read once: the checksum is folded on the same pass that
// decodes the sections, skipped sections and the trailer included.
TEST(MapImport, ReadsEachByteOnce) {
  FileLayout foreign = layoutOf(sampleMap());
  foreign.sections.insert(foreign.sections.begin() + 1, {0x77, Bytes(13, 9), {}});
  foreign.sections.push_back({0, {}, {}});
  foreign.trailer = Bytes(7, 1);
  for (const Bytes& file : {seal(layoutOf(sampleMap())), seal(foreign)}) {
    CountingInput input(file, file.size());
    const MapFile read = readMap(input);
    EXPECT_EQ(read.storedChecksum, read.computedChecksum);
    EXPECT_EQ(input.handed(), file.size());
  }
}

// A caller's limits end the reading as soon as the file shows them crossed:
// the width at the area's size word, the towers (those on the map) once the
// buildings are read. The sample map is 5 tiles wide with a tower and a
// castle.
TEST(MapImport, LimitsRefuseWhatTheCallerCannotTake) {
  struct LimitCase {
    uint32_t maxMapSize;
    uint64_t maxTowers;
    bool castleOffTheMap;
    const char* error;  // empty when the file reads
  };
  const LimitCase cases[] = {
      {5, 2, false, ""},
      {4, 2, false, "the map is 5 tiles wide; maps wider than 4 are not read"},
      {5, 1, false, "the map has 2 towers; more than 1 are not read"},
      {5, 1, true, ""},
      {5, 0, true, "the map has 1 towers; more than 0 are not read"},
  };
  for (const LimitCase& c : cases) {
    Map map = sampleMap();
    if (c.castleOffTheMap) map.buildings[1].posX = 9;
    const Bytes file = seal(layoutOf(map));
    const ReadLimits limits{.maxMapSize = c.maxMapSize, .maxTowers = c.maxTowers};
    if (*c.error) {
      testing::expectErrorMessage([&] { readMap(file, limits); }, c.error);
    } else {
      EXPECT_EQ(readMap(file, limits).map, map) << c.maxMapSize << " " << c.maxTowers;
    }
  }

  // A 9459-tile map, 512 MiB of tiles: refused after its first 52 bytes.
  constexpr uint32_t kWide = 9459;
  FileLayout wide;
  wide.sections.push_back({1, testing::mapInfoBody(0, 0, 0), {}});
  Bytes sizeWord;
  testing::put32(sizeWord, kWide);
  wide.sections.push_back({6, sizeWord, 12 + uint32_t{6} * kWide * kWide});
  wide.trailer = {};
  const Bytes head = seal(wide);
  CountingInput input(head, head.size() + uint64_t{6} * kWide * kWide + 2);
  testing::expectErrorMessage([&] { readMap(input, {.maxMapSize = 2048}); },
                              "the map is 9459 tiles wide; maps wider than 2048 are not read");
  EXPECT_EQ(input.handed(), head.size());
}

const std::filesystem::path kData = std::filesystem::path(__FILE__).parent_path() / "data";

// The sample maps under tests/data, which also seed the fuzzer, read cleanly.
TEST(MapImport, SampleFilesRead) {
  const MapFile small = importMap((kData / "small.map").string());
  EXPECT_TRUE(small.warnings.empty());
  EXPECT_EQ(small.map.size, 8u);
  EXPECT_EQ(small.map.players.size(), 2u);
  EXPECT_EQ(small.map.buildings.size(), 2u);
  EXPECT_EQ(small.map.stacks.size(), 2u);
  const MapFile foreign = importMap((kData / "foreign.map").string());
  EXPECT_TRUE(foreign.warnings.empty());
  EXPECT_EQ(foreign.fileVersion, 10u);
  EXPECT_EQ(foreign.sections.size(), 7u);
  EXPECT_EQ(foreign.map.players, small.map.players);
  EXPECT_TRUE(foreign.map.buildings.empty());
}

// Every file kept under tests/data, inputs that once broke the reader
// included, either reads or is refused with an Error; nothing else escapes.
TEST(MapImport, EveryDataFileReadsOrFailsCleanly) {
  for (const auto& entry : std::filesystem::directory_iterator(kData)) {
    try {
      importMap(entry.path().string());
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos) << entry.path();
    }
  }
}

using ImportFile = testing::TempDirTest;

TEST_F(ImportFile, RefusesWhatIsNoReadableFile) {
  const std::string missing = (dir_ / "missing.map").string();
  testing::expectErrorMessage([&] { importMap(missing); },
                              "cannot read " + missing + ": No such file or directory");
  // Opened without blocking, then refused: a FIFO no one writes, a device.
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir_.string(), fifo, std::string("/dev/null")}) {
    testing::expectErrorMessage([&] { importMap(path); },
                                "cannot read " + path + ": not a regular file");
  }
  const std::filesystem::path big = dir_ / "big.map";
  { std::ofstream(big, std::ios::binary).put(0); }
  std::filesystem::resize_file(big, MAX_MAP_FILE_BYTES + 1);  // sparse: costs no disk
  testing::expectErrorMessage([&] { importMap(big.string()); },
                              big.string() + " has 536870913 bytes; files over 512 MiB are not read");
}

// What is compared: every header value, every entity in order and all seven
// layers (Map's defaulted ==). Map::parts is not in the file and stays empty
// on both sides; resource amounts keep only their low nibble in the file, and
// the generator keeps them at 15 or below, so they compare equal too.
using RoundTrip = testing::TempDirTest;

TEST_F(RoundTrip, GeneratedMapsReadBackEqual) {
  struct Run {
    int64_t seed;
    int64_t size;
    int64_t players;
    model::StartResourcesType goods;
  };
  // Player records start at (150, 150) on maps above size 150 and at their
  // tower on smaller ones, so no start spot is ever off the map.
  const Run runs[] = {
      {7, 80, 1, model::StartResourcesType::HIGH},
      {7, 140, 1, model::StartResourcesType::LOW},
      {123456789, 160, 1, model::StartResourcesType::HIGH},
      {42, 200, 3, model::StartResourcesType::MEDIUM},
      {-5, 320, 8, model::StartResourcesType::LOW},
      {2, 640, 5, model::StartResourcesType::HIGH},  // tiles and checksum span several pieces
  };
  for (const Run& run : runs) {
    const std::string path = (dir_ / "round.map").string();
    const Map map = generateMap({run.seed, run.size, run.players, run.goods}, testing::quiet);
    writeMapFile(mapFileBytes(map, testing::quiet), path);
    const MapFile file = importMap(path);
    EXPECT_TRUE(file.map == map) << "seed " << run.seed << ", size " << run.size;
    EXPECT_EQ(file.storedChecksum, file.computedChecksum) << run.seed;
    EXPECT_TRUE(file.warnings.empty()) << run.seed << ": " << file.warnings.front();
    for (size_t i = 0; i < map.players.size() && run.size <= 150; ++i) {
      EXPECT_EQ(map.players[i].startX, map.buildings[i].posX) << run.size;
      EXPECT_EQ(map.players[i].startY, map.buildings[i].posY) << run.size;
    }
  }
}

}  // namespace
}  // namespace varnholt::mapfile
