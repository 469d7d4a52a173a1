#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "catalogue/footprintparser.h"
#include "catalogue/footprints.h"
#include "expect_error.h"
#include "subprocess.h"
#include "tempdir.h"

namespace varnholt::catalogue {

namespace {

using model::BuildingMetaBlock;
using Cells = std::vector<BuildingMetaBlock>;
using testing::expectError;

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE building SYSTEM \"../building.dtd\">\n";

// Parses a document whose root element holds body, checking that libxml2
// prints nothing on its own.
Cells parseQuietly(const std::string& text) {
  ::testing::internal::CaptureStderr();
  ::testing::internal::CaptureStdout();
  Cells cells;
  try {
    cells = parseBuildingMeta(text).blocks;
  } catch (...) {
    ::testing::internal::GetCapturedStdout();
    ::testing::internal::GetCapturedStderr();
    throw;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << text;
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << text;
  return cells;
}

Cells parseBody(const std::string& body) {
  return parseQuietly(kHead + "<building worker=\"BEARER\">" + body + "</building>\n");
}

std::vector<std::string> expectedKeys() {
  const std::vector<std::pair<std::string, std::string>> folders = {
      {"roman",
       "coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill big_tower "
       "donkey_farm farm big_livinghouse winegrower dockyard market_place medium_livinghouse "
       "baker weaponsmith goldmelt lumberjack big_temple slaughterhouse lookout_tower "
       "stonecutter temple waterworks castle stock hospital barrack forester ironmelt mill "
       "toolsmith charcoal_burner goldmine"},
      {"asian",
       "coalmine small_livinghouse fisher harbor pig_farm tower distillery rice_farm ironmine "
       "sawmill big_tower donkey_farm farm big_livinghouse dockyard market_place "
       "medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse "
       "lookout_tower stonecutter temple waterworks castle stock hospital barrack forester "
       "ironmelt mill toolsmith goldmine sulfurmine"},
      {"egyptian",
       "coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill big_tower "
       "donkey_farm farm big_livinghouse dockyard market_place medium_livinghouse baker "
       "weaponsmith goldmelt lumberjack big_temple brewery slaughterhouse lookout_tower "
       "stonecutter temple waterworks gemsmine castle stock hospital barrack forester ironmelt "
       "mill toolsmith goldmine"},
      {"amazon",
       "coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill big_tower "
       "donkey_farm farm beekeeping big_livinghouse winegrower dockyard market_place "
       "medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse "
       "lookout_tower stonecutter temple waterworks gemsmine castle stock hospital barrack "
       "forester ironmelt mill toolsmith goldmine sulfurmine"},
  };
  std::vector<std::string> keys;
  for (const auto& [folder, names] : folders) {
    std::istringstream words(names);
    for (std::string name; words >> name;) {
      keys.push_back("meta/buildings/" + folder + "/" + name + ".xml");
    }
  }
  return keys;
}

TEST(BuildingMetaCatalogue, TowerFootprintInDocumentOrder) {
  const Cells expected = {
      {-1, 0, true},   {0, 1, true},    {2, 2, true},    {2, 1, false},   {2, 0, true},
      {1, -1, true},   {0, -2, true},   {-1, -1, true},  {-1, -2, true},  {0, -1, true},
      {1, 1, true},    {1, 0, true},    {1, 2, true},    {0, 0, true},    {-1, -3, false},
      {0, -3, false},  {1, -2, false},  {2, -1, false},  {3, 0, false},   {3, 1, false},
      {3, 2, false},   {3, 3, false},   {2, 3, false},   {1, 3, false},   {0, 2, false},
      {-1, 1, false},  {-2, 0, false},  {-2, -1, false}, {-2, -2, false}, {-2, -3, false},
      {3, 4, false},   {2, 4, false},   {4, 4, false},   {4, 3, false},   {4, 2, false}};
  EXPECT_EQ(buldingMetas().at("meta/buildings/roman/tower.xml").blocks, expected);
}

TEST(BuildingMetaCatalogue, HoldsExactlyTheListedKeysInOrder) {
  const std::vector<std::string> keys = expectedKeys();
  std::vector<std::string> compiled;
  for (const CompiledFootprint& footprint : compiledFootprints()) {
    compiled.emplace_back(footprint.key);
  }
  EXPECT_EQ(compiled, keys);

  std::set<std::string> loaded;
  for (const auto& [key, meta] : buldingMetas()) loaded.insert(key);
  EXPECT_EQ(loaded, std::set<std::string>(keys.begin(), keys.end()));
  EXPECT_EQ(loaded.size(), 147u);
}

// The compiled tables hold exactly what the parser reads from each document.
TEST(BuildingMetaCatalogue, TablesMatchTheDocuments) {
  for (const CompiledFootprint& footprint : compiledFootprints()) {
    const std::string text = testing::slurp(std::string(VARNHOLT_SOURCE_DIR) + "/" +
                                            std::string(footprint.key));
    EXPECT_EQ(parseQuietly(text), Cells(footprint.cells.begin(), footprint.cells.end()))
        << footprint.key;
  }
}

TEST(BuildingMetaCatalogue, EveryDocumentIsAPlausibleFootprint) {
  size_t total = 0;
  for (const CompiledFootprint& footprint : compiledFootprints()) {
    SCOPED_TRACE(footprint.key);
    const Cells cells(footprint.cells.begin(), footprint.cells.end());
    total += cells.size();
    EXPECT_GE(cells.size(), 35u);
    EXPECT_LE(cells.size(), 204u);
    std::set<std::pair<int64_t, int64_t>> seen;
    for (const BuildingMetaBlock& cell : cells) {
      EXPECT_GE(cell.xOffset, -7);
      EXPECT_LE(cell.xOffset, 9);
      EXPECT_GE(cell.yOffset, -12);
      EXPECT_LE(cell.yOffset, 11);
      EXPECT_TRUE(seen.emplace(cell.xOffset, cell.yOffset).second)
          << "repeated cell " << cell.xOffset << ", " << cell.yOffset;
    }
    const bool stock = footprint.key.ends_with("/stock.xml");
    const auto origin = std::find_if(cells.begin(), cells.end(), [](const BuildingMetaBlock& c) {
      return c.xOffset == 0 && c.yOffset == 0;
    });
    ASSERT_NE(origin, cells.end());
    EXPECT_EQ(origin->blocked, !stock);
  }
  EXPECT_EQ(total, 11552u);
}

TEST(BuildingMetaCatalogue, DocumentedSizes) {
  const auto& metas = buldingMetas();
  const std::vector<std::tuple<std::string, size_t, size_t>> sizes = {
      {"roman/tower", 35, 13},
      {"roman/coalmine", 44, 21},
      {"roman/castle", 135, 79},
      {"egyptian/big_temple", 204, 140}};
  for (const auto& [name, cells, blocked] : sizes) {
    const Cells& blocks = metas.at("meta/buildings/" + name + ".xml").blocks;
    EXPECT_EQ(blocks.size(), cells) << name;
    EXPECT_EQ(static_cast<size_t>(std::count_if(blocks.begin(), blocks.end(),
                                                [](const BuildingMetaBlock& c) { return c.blocked; })),
              blocked)
        << name;
  }
}

TEST(ParseBuildingMeta, CellsFromBlockedElementsWithAttributes) {
  const std::vector<std::pair<std::string, Cells>> cases = {
      {R"(<blocked dx="1" dy="-2" />)", {{1, -2, true}}},
      {R"(<blocked dy="3" block="false"/>)", {{0, 3, false}}},
      {R"(<blocked/>)", {}},
      {R"(<blocked   />)", {}},
      {R"(<blocked></blocked>)", {}},
      {R"(<blocked dx="2" worker="x" dy="1" size="big"/>)", {{2, 1, true}}},
      {R"(<blocked dx="-4"></blocked>)", {{-4, 0, true}}},
      {R"(<blocked dx="+1_0" dy='-0' block="Off"/><blocked block="Y_E_S"/>)",
       {{10, 0, false}, {0, 0, true}}},
      {R"(<blocked DX="5" Block="false"/>)", {{0, 0, true}}},
      {R"(<door dx="1" dy="1"/><Blocked dx="1"/><blocked_ dx="1"/><x:blocked dx="1"/>)", {}},
      {R"(<!-- <blocked dx="9"/> --><![CDATA[<blocked dx="9"/>]]>)", {}},
      {R"(<door dx="0" dy="1"><blocked dx="5" dy="6"/></door><blocked dx="7"/>)",
       {{5, 6, true}, {7, 0, true}}},
      {"<blocked\n\tdx=\"3\"\n\tdy=\"4\"\n/>", {{3, 4, true}}},
  };
  for (const auto& [body, expected] : cases) {
    EXPECT_EQ(parseBody(body), expected) << body;
  }
}

TEST(ParseBuildingMeta, MalformedXmlEndsTheDocumentQuietly) {
  // Cells before the fault are kept, nothing after it is read, nothing is printed.
  const std::vector<std::pair<std::string, Cells>> cases = {
      {kHead + R"(<building><blocked dx="1"/><a><b></a><blocked dx="2"/></building>)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/> & <blocked dx="2"/></building>)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/><blocked dx=2/></building>)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/><blocked dx="2" dx="3"/></building>)", {{1, 0, true}}},
      {R"(<building><blocked dx="1"/><blocked dx="&undefined;"/></building>)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/>)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/></building><blocked dx="2"/>)", {{1, 0, true}}},
      {R"(<?xml version="1.0" encoding="no-such-encoding"?><building/>)", {}},
      {"<building>\xff\xfe<blocked dx=\"1\"/></building>", {}},
      {"not xml at all", {}},
      {"", {}},
      {kHead + R"(<building><blocked dx="1"/><blocked)", {{1, 0, true}}},
      {kHead + R"(<building><blocked dx="1"/><door dx="1")", {{1, 0, true}}},
      // A bad value after the fault is never read.
      {kHead + R"(<building><blocked dx="1"/><a><b></a><blocked dx="x"/></building>)", {{1, 0, true}}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(parseQuietly(text), expected) << text;
  }
}

TEST(ParseBuildingMeta, EndInsideABlockedTagIsEarlyEof) {
  for (const std::string tail : {R"(<blocked dx="1")", R"(<blocked )", R"(<blocked dx="1" dy="2" /)",
                                  R"(<blocked dx="1" note="a>b")", "<blocked\n"}) {
    expectError([&] { parseQuietly(kHead + "<building><blocked dx=\"0\"/>" + tail); }, "Exception",
                "Early EOF");
  }
}

TEST(ParseBuildingMeta, BadValuesRaiseValueError) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"(<blocked dx="abc"/>)", "invalid integer: abc"},
      {R"(<blocked dy=""/>)", "invalid integer: "},
      {R"(<blocked dx="1.5"/>)", "invalid integer: 1.5"},
      {R"(<blocked dx=" 1"/>)", "invalid integer:  1"},
      {R"(<blocked dx="1" block="maybe"/>)", "cannot interpret as a bool: maybe"},
      {R"(<blocked block=""/>)", "cannot interpret as a bool: "},
      {R"(<blocked dx="x"/><a><b></a>)", "invalid integer: x"},
  };
  for (const auto& [body, message] : cases) {
    expectError([&] { parseBody(body); }, "ValueError", message);
  }
}

// The build runs the compiler over the documents; a document the parser
// rejects stops it with the parser's message and leaves no tables.
using FootprintCompiler = testing::TempDirTest;

TEST_F(FootprintCompiler, RejectedDocumentFailsWithTheParsersMessage) {
  std::filesystem::create_directories(dir_ / "meta");
  testing::writeBytes(dir_ / "meta" / "good.xml", {});
  const std::string broken = kHead + "<building><blocked dx=\"x\"/></building>";
  testing::writeBytes(dir_ / "meta" / "broken.xml", {broken.begin(), broken.end()});
  const testing::Outcome outcome = testing::runIn(
      dir_, VARNHOLT_FOOTPRINT_COMPILER, "tables.cpp . meta/good.xml meta/broken.xml");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Error: meta/broken.xml: invalid integer: x [ValueError]\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "tables.cpp"));

  const testing::Outcome good =
      testing::runIn(dir_, VARNHOLT_FOOTPRINT_COMPILER, "tables.cpp . meta/good.xml");
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_NE(testing::slurp(dir_ / "tables.cpp").find("{\"meta/good.xml\", {}}"),
            std::string::npos);
}

}  // namespace
}  // namespace varnholt::catalogue
