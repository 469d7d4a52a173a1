// The style options on the command line: alone they make the fair map with
// that style, byte for byte; a bad value ends the run with one error line
// naming the option and no file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "subprocess.h"
#include "tempdir.h"

namespace varnholt {
namespace {

using testing::Outcome;

class StylesCli : public testing::TempDirTest {
 protected:
  Outcome run(const std::string& arguments) const {
    return testing::runIn(dir_, VARNHOLT_BINARY, arguments);
  }
};

TEST_F(StylesCli, StyleOptionsAloneMakeTheFairMap) {
  for (const std::string style : {"--landscape=islands", "--water=40 --mountains=20",
                                  "--climate=temperate --resources=normal --landscape=continent"}) {
    const std::string common = " --seed=5 --size=384 --playerCount=4";
    const Outcome alone = run(style + common + " --output=a.map");
    const Outcome fair = run(style + common + " --fair --output=f.map");
    ASSERT_EQ(alone.status, 0) << style << ": " << alone.err;
    ASSERT_EQ(fair.status, 0) << style << ": " << fair.err;
    EXPECT_EQ(testing::slurp(dir_ / "a.map"), testing::slurp(dir_ / "f.map")) << style;
    EXPECT_EQ(alone.out, fair.out) << style;
  }
  // The defaults spelled out are the defaults.
  run("--seed=5 --size=384 --playerCount=4 --fair --output=d.map");
  EXPECT_EQ(testing::slurp(dir_ / "d.map"), testing::slurp(dir_ / "a.map"));
}

TEST_F(StylesCli, BadValuesEndWithOneErrorLineNamingTheOption) {
  struct Case {
    const char* arguments;
    const char* error;
  };
  const Case cases[] = {
      {"--landscape=mountains",
       "Error: unhandled exception: --landscape takes continent, islands, highlands or lakes, not "
       "'mountains' [ValueError]\n"},
      {"--climate=arctic --fair",
       "Error: unhandled exception: --climate takes temperate, desert, swamp or alpine, not "
       "'arctic' [ValueError]\n"},
      {"--resources=none --symmetric",
       "Error: unhandled exception: --resources takes low, normal or high, not 'none' "
       "[ValueError]\n"},
      {"--water=half",
       "Error: unhandled exception: --water takes a whole percent, not 'half' [ValueError]\n"},
      {"--water=10 --landscape=islands",
       "Error: unhandled exception: --water takes 30 to 75 on islands, not 10 [ValueError]\n"},
      {"--mountains=50",
       "Error: unhandled exception: --mountains takes 5 to 45 on continent, not 50 [ValueError]\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(std::string(c.arguments) + " --output=m.map");
    EXPECT_EQ(outcome.status, 1) << c.arguments;
    EXPECT_EQ(outcome.err, c.error) << c.arguments;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "m.map")) << c.arguments;
  }
}

}  // namespace
}  // namespace varnholt
