// --fair and --symmetric on the command line: the file is the library's map,
// and a request the map cannot meet ends with one error line and no file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "console.h"
#include "subprocess.h"
#include "tempdir.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using testing::Outcome;

class FairCli : public testing::TempDirTest {
 protected:
  Outcome run(const std::string& arguments) const {
    return testing::runIn(dir_, VARNHOLT_BINARY, arguments);
  }
};

TEST_F(FairCli, WritesTheLibrarysMap) {
  struct Case {
    const char* arguments;
    StartMode mode;
  };
  for (const Case c : {Case{"--fair --seed=3 --playerCount=4", StartMode::FAIR},
                       Case{"--seed=3 --playerCount=4 --symmetric", StartMode::SYMMETRIC}}) {
    const Outcome outcome = run(std::string(c.arguments) + " --output=m.map");
    ASSERT_EQ(outcome.status, 0) << c.arguments << ": " << outcome.err;
    GenerateOptions options;
    options.seed = 3;
    options.playerCount = 4;
    options.mode = c.mode;
    const std::vector<uint8_t> expected =
        mapFileBytes(generateMap(options, testing::quiet), testing::quiet);
    const std::string written = testing::slurp(dir_ / "m.map");
    EXPECT_EQ(written, std::string(expected.begin(), expected.end())) << c.arguments;
  }
}

TEST_F(FairCli, UnmeetableRequestsEndWithOneErrorLineAndNoFile) {
  for (const char* arguments : {"--symmetric --playerCount=5", "--fair --size=200"}) {
    const Outcome outcome = run(std::string(arguments) + " --output=m.map");
    EXPECT_EQ(outcome.status, 1) << arguments;
    EXPECT_TRUE(outcome.err.starts_with("Error:")) << arguments << ": " << outcome.err;
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << arguments << ": " << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "m.map")) << arguments;
  }
  // The two options exclude each other: rejected like any malformed line.
  const Outcome both = run("--fair --symmetric --output=m.map");
  EXPECT_NE(both.err.find("Usage:"), std::string::npos) << both.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "m.map"));
}

}  // namespace
}  // namespace varnholt
