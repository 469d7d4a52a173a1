// Putting a finished file on disk: what replaces an old file, the paths that
// are refused, and that a failed write leaves the old file and nothing else.
#include "platform/savefile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "expect_error.h"
#include "model/error.h"
#include "tempdir.h"

namespace varnholt::platform {
namespace {

class Save : public testing::TempDirTest {
 protected:
  // The names in the test's directory.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(Save, ReplacesAFileWholeAndKeepsItsPermissions) {
  const std::string path = (dir_ / "old.map").string();
  testing::writeBytes(path, std::vector<uint8_t>(1000, 0xAB));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const std::vector<uint8_t> bytes = {1, 2, 3};
  saveFile(bytes, path);
  EXPECT_EQ(testing::readBytes(path), bytes);
  struct stat file {};
  ASSERT_EQ(::stat(path.c_str(), &file), 0);
  EXPECT_EQ(file.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
}

// A link stays a link; the file it points to gets the new bytes.
TEST_F(Save, WritesThroughALink) {
  testing::writeBytes(dir_ / "target.map", std::vector<uint8_t>(10, 7));
  std::filesystem::create_symlink("target.map", dir_ / "link.map");
  const std::vector<uint8_t> bytes = {4, 5};
  saveFile(bytes, (dir_ / "link.map").string());
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.map"));
  EXPECT_EQ(testing::readBytes(dir_ / "target.map"), bytes);
  EXPECT_EQ(entries(), (std::set<std::string>{"link.map", "target.map"}));
}

TEST_F(Save, RefusedPathsNameThePathAndWriteNothing) {
  const std::string missing = (dir_ / "nowhere" / "x.map").string();
  const std::string underFile = (dir_ / "plain" / "x.map").string();
  const std::string directory = dir_.string();
  const std::string fifo = (dir_ / "pipe").string();
  const std::string dangling = (dir_ / "dangling.map").string();
  testing::writeBytes(dir_ / "plain", {9});
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("gone.map", dangling);
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {missing, "No such file or directory\nAdditional info: " + missing},
      {underFile, "Not a directory\nAdditional info: " + underFile},
      {directory, "Refusing output path " + directory + ": a directory, not a regular file"},
      {fifo, "Refusing output path " + fifo + ": a FIFO, not a regular file"},
      {dangling, "Refusing output path " + dangling + ": a link to a missing file"},
      {"/dev/full", "Refusing output path /dev/full: a character device, not a regular file"},
      {"/dev/null", "Refusing output path /dev/null: a character device, not a regular file"},
  };
  const std::set<std::string> before = entries();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    testing::expectError([&] { checkOutputPath(c.path); }, "Exception", c.message);
    testing::expectError([&] { saveFile(std::vector<uint8_t>(10, 1), c.path); }, "Exception",
                         c.message);
  }
  EXPECT_EQ(entries(), before);
  EXPECT_EQ(testing::readBytes(dir_ / "plain"), std::vector<uint8_t>{9});
}

// A file size limit stands in for a full disk. The write runs in a child
// process, which alone gets the limit, with SIGXFSZ ignored so that the
// write fails instead of ending the process.
TEST_F(Save, FailedWriteLeavesTheOldFileAndNoTemporary) {
  const std::string path = (dir_ / "old.map").string();
  const std::vector<uint8_t> old(5000, 0x11);
  testing::writeBytes(path, old);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      saveFile(std::vector<uint8_t>(100000, 0x22), path);
    } catch (const Error& error) {
      ::_exit(error.what() == "Failed to write path " + path + ": File too large" ? 0 : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write succeeded, 2: another error";
  EXPECT_EQ(testing::readBytes(path), old);
  EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
}

// As a user who may not write the file or its directory, the file is left
// as it was. The save runs in a child process that gives up root.
TEST_F(Save, FilesTheUserMayNotWriteAreLeftAlone) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  struct Case {
    const char* name;
    mode_t file;
    mode_t directory;
  };
  const Case cases[] = {
      {"write-only file in a directory the user may not write", 0222, 0755},
      {"read-only file in a directory anyone may write", 0444, 0777},
  };
  const std::string path = (dir_ / "old.map").string();
  const std::vector<uint8_t> old(100, 0x33);
  for (const Case& c : cases) {
    testing::writeBytes(path, old);
    ASSERT_EQ(::chmod(path.c_str(), c.file), 0);
    ASSERT_EQ(::chmod(dir_.c_str(), c.directory), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      try {
        saveFile(std::vector<uint8_t>(10, 0x44), path);
      } catch (const Error& error) {
        ::_exit(error.what() == "Permission denied\nAdditional info: " + path ? 0 : 2);
      }
      ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << c.name;
    EXPECT_EQ(WEXITSTATUS(status), 0) << c.name << " (1: written, 2: another error, 3: no user)";
    ::chmod(dir_.c_str(), 0755);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(testing::readBytes(path), old) << c.name;
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"})) << c.name;
  }
}

}  // namespace
}  // namespace varnholt::platform
