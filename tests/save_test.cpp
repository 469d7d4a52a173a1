// Putting a finished file on disk: what replaces an old file, and the reasons
// given when the path cannot take it.
#include "mapfile/save.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expect_error.h"
#include "tempdir.h"

namespace varnholt::mapfile {
namespace {

using Save = testing::TempDirTest;

TEST_F(Save, ReplacesALongerFileWhole) {
  const std::string path = (dir_ / "old.map").string();
  testing::writeBytes(path, std::vector<uint8_t>(1000, 0xAB));
  const std::vector<uint8_t> bytes = {1, 2, 3};
  saveMapFile(bytes, path);
  EXPECT_EQ(testing::readBytes(path), bytes);
}

TEST_F(Save, UnwritablePathsCarryTheSystemReason) {
  const std::string missing = (dir_ / "nowhere" / "x.map").string();
  const std::string directory = dir_.string();
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {missing, "No such file or directory\nAdditional info: " + missing},
      {directory, "Is a directory\nAdditional info: " + directory},
      {"/dev/full", "Failed to write path /dev/full"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    testing::expectError([&] { saveMapFile(std::vector<uint8_t>(10, 1), c.path); }, "Exception",
                         c.message);
  }
}

}  // namespace
}  // namespace varnholt::mapfile
