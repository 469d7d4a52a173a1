// Runs the built inspector as a user would and checks its three outputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "blank_map.h"
#include "mapfile.h"
#include "subprocess.h"
#include "tempdir.h"

namespace {

using varnholt::testing::Bytes;
using varnholt::testing::Outcome;
using varnholt::testing::slurp;

class InspectCli : public varnholt::testing::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    varnholt::model::Map map = varnholt::testing::blankMap(50);
    map.playerCount = 1;
    map.players = {{varnholt::testing::playerName("Ada"), 25, 25,
                    varnholt::model::CivilizationType::ROMANS}};
    good_ = varnholt::testing::seal(varnholt::testing::layoutOf(map));
    write("good.map", good_);
  }

  void write(const std::string& name, const Bytes& bytes) const {
    varnholt::testing::writeBytes(dir_ / name, bytes);
  }

  // Runs the program in the test's own directory.
  Outcome run(const std::string& arguments) const {
    return varnholt::testing::runIn(dir_, VARNHOLT_INSPECT_BINARY, arguments);
  }

  Bytes good_;
};

const std::string kUsageText =
    "Varnholt-inspect checks a The Settlers 3 *.map file, reports what it holds and how fair its "
    "start positions are, and draws a preview\n"
    "\n"
    "Usage:\n"
    "  varnholt-inspect [--json] [--png=<png>] [--scale=<scale>] <map>\n"
    "  varnholt-inspect (-h | --help)\n"
    "  varnholt-inspect --version\n"
    "Options:\n"
    "  -h --help          Show this screen.\n"
    "  --version          Show version.\n"
    "  --json             Print the report as one JSON document instead of text.\n"
    "  --png=<png>        Also draw the map into this PNG file.\n"
    "  --scale=<scale>    Pixels per tile edge in the PNG, 1 to 16. [default: 1]\n";

const std::string kUsageSection = kUsageText.substr(kUsageText.find("Usage:"));

TEST_F(InspectCli, HelpVersionAndRejectedCommandLines) {
  struct Case {
    const char* arguments;
    std::string out;
    std::string err;
    int status;
  };
  const Case cases[] = {
      {"--help", kUsageText, "", 0},
      {"-h good.map", kUsageText, "", 0},
      {"--version", "BETA\n", "", 0},
      {"", "", kUsageSection, 1},
      {"--colour=red good.map", "", kUsageSection, 1},
      {"good.map good.map", "", kUsageSection, 1},
      {"--png good.map", "", kUsageSection, 1},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << c.arguments;
    EXPECT_EQ(outcome.out, c.out) << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
}

TEST_F(InspectCli, FailuresEndWithOneErrorLine) {
  Bytes cut = good_;
  cut.resize(200);
  write("cut.map", cut);
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"missing.map", "Error: cannot read missing.map: No such file or directory\n"},
      {". ", "Error: cannot read .: not a regular file\n"},
      {"cut.map",
       "Error: section 6 at offset 93 has length 15012 but only 107 bytes are left in the file\n"},
      {"--scale=0 good.map", "Error: the preview scale must be 1 to 16, not 0\n"},
      {"--scale=abc good.map", "Error: invalid integer: abc\n"},
      {"--png=no/such/dir.png good.map",
       "Error: cannot write no/such/dir.png: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 1) << c.arguments;
    EXPECT_EQ(outcome.out, "") << c.arguments;
    EXPECT_EQ(outcome.err, c.err) << c.arguments;
  }
}

TEST_F(InspectCli, ReportsInTextOrJsonAndDrawsThePreview) {
  const Outcome text = run("good.map");
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.err, "");
  EXPECT_EQ(text.out.rfind("file: good.map (15143 bytes)\nchecksum: ok", 0), 0u) << text.out;
  EXPECT_NE(text.out.find("\nmax/min"), std::string::npos);

  const Outcome json = run("--json --png=map.png --scale=2 good.map");
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.err, "");
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["size"], 50);
  EXPECT_EQ(report["fairness"]["basis"], "player start spots");
  const std::string png = slurp(dir_ / "map.png");
  EXPECT_EQ(png.substr(1, 3), "PNG");

  Bytes tampered = good_;
  tampered[0] ^= 1;
  write("tampered.map", tampered);
  const Outcome warned = run("tampered.map");
  EXPECT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err.rfind("Warning: checksum mismatch: the file says ", 0), 0u) << warned.err;
  EXPECT_NE(warned.out.find("checksum: MISMATCH"), std::string::npos);
}

}  // namespace
