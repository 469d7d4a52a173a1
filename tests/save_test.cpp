// Putting a finished file on disk: what replaces an old file, the paths that
// are refused, and that a failed write leaves the old file and nothing else.
#include "mapfile/save.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "expect_error.h"
#include "synclog.h"
#include "varnholt/model/error.h"
#include "tempdir.h"

namespace varnholt::mapfile {
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
  saveMapFile(bytes, path);
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
  saveMapFile(bytes, (dir_ / "link.map").string());
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
    testing::expectError([&] { PendingFile(c.path, Wording::MAP_FILE); }, "Exception", c.message);
    testing::expectError([&] { saveMapFile(std::vector<uint8_t>(10, 1), c.path); }, "Exception",
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
      saveMapFile(std::vector<uint8_t>(100000, 0x22), path);
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
        saveMapFile(std::vector<uint8_t>(10, 0x44), path);
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

// The new file gets the old one's permissions even where the umask would
// take some away.
TEST_F(Save, KeepsTheOldPermissionsUnderARestrictiveUmask) {
  const std::string path = (dir_ / "old.map").string();
  const mode_t umask = ::umask(077);
  for (const mode_t mode : {0666, 0640, 0604, 0600}) {
    testing::writeBytes(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    saveMapFile(std::vector<uint8_t>{2, 3}, path);
    struct stat file {};
    ASSERT_EQ(::stat(path.c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 07777, mode) << std::oct << mode;
  }
  ::umask(umask);
}

// The new bytes reach the disk before they take the old file's name, so a
// crash in between leaves the old map or the new one, never an empty file.
TEST_F(Save, SyncsTheNewFileBeforeRenamingIt) {
  const std::string path = (dir_ / "old.map").string();
  testing::writeBytes(path, {1});
  std::vector<testing::SyncCall> calls;
  {
    const testing::SyncLog log;
    saveMapFile(std::vector<uint8_t>(5000, 9), path);
    calls = log.calls();
  }
  struct stat file {};
  ASSERT_EQ(::stat(path.c_str(), &file), 0);
  const auto isSync = [&](const testing::SyncCall& call) {
    return call.inode == file.st_ino && call.function.ends_with("sync");
  };
  const auto isRename = [&](const testing::SyncCall& call) {
    return call.inode == file.st_ino && call.function.starts_with("rename") &&
           call.name.ends_with("old.map");
  };
  const auto sync = std::find_if(calls.begin(), calls.end(), isSync);
  const auto rename = std::find_if(calls.begin(), calls.end(), isRename);
  ASSERT_NE(rename, calls.end()) << "no rename onto old.map";
  EXPECT_LT(sync, rename) << "the new file was not synced before its rename";
}

// Temporary names cannot be guessed: names planted for every number a
// predictable scheme would try do not stop the save.
TEST_F(Save, TemporaryNamesCannotBeGuessed) {
  const std::string path = (dir_ / "new.map").string();
  for (int n = 0; n < 1000; ++n) {
    testing::writeBytes(dir_ / (".varnholt-" + std::to_string(::getpid()) + "-" +
                                std::to_string(n) + ".tmp"),
                        {});
  }
  const std::set<std::string> planted = entries();
  saveMapFile(std::vector<uint8_t>{5}, path);
  EXPECT_EQ(testing::readBytes(path), std::vector<uint8_t>{5});

  const PendingFile first(path, Wording::MAP_FILE);
  const PendingFile second(path, Wording::MAP_FILE);
  const std::regex shape("\\.varnholt-" + std::to_string(::getpid()) + "-[0-9a-f]{16}\\.tmp");
  EXPECT_TRUE(std::regex_match(first.temporaryName(), shape)) << first.temporaryName();
  EXPECT_NE(first.temporaryName(), second.temporaryName());
  std::set<std::string> expected = planted;
  expected.insert({"new.map", first.temporaryName(), second.temporaryName()});
  EXPECT_EQ(entries(), expected);
}

// A later run removes the temporary files of killed runs, and only those: a
// file a live run holds locked, or one changed in the last minute, stays.
TEST_F(Save, RemovesOnlyTheTemporaryFilesOfDeadRuns) {
  struct Case {
    const char* name;
    bool old;
    bool locked;
    bool removed;
  };
  const Case cases[] = {
      {".varnholt-1-00000000000000aa.tmp", true, false, true},
      {".varnholt-2-0.tmp", true, false, true},  // an earlier version's name
      {".varnholt-3-00000000000000bb.tmp", true, true, false},
      {".varnholt-4-00000000000000cc.tmp", false, false, false},
      {".varnholt-notes.txt", true, false, false},
      {"varnholt-5-00000000000000dd.tmp", true, false, false},
  };
  std::vector<int> locks;
  for (const Case& c : cases) {
    const std::string file = (dir_ / c.name).string();
    testing::writeBytes(file, {7});
    if (c.old) {
      const timespec times[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
      ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }
    if (c.locked) {
      locks.push_back(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
      ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
    }
  }
  // An old link with a temporary name is no temporary file.
  std::filesystem::create_symlink("target", dir_ / ".varnholt-6-00000000000000ee.tmp");
  saveMapFile(std::vector<uint8_t>{1}, (dir_ / "new.map").string());
  const std::set<std::string> left = entries();
  for (const Case& c : cases) EXPECT_EQ(left.count(c.name) == 0, c.removed) << c.name;
  EXPECT_EQ(left.count(".varnholt-6-00000000000000ee.tmp"), 1u);
  for (int lock : locks) ::close(lock);
}

// The temporary file and the rename go through the directory's descriptor,
// so an output whose directory path leaves no room for the temporary name's
// full path is still written.
TEST_F(Save, WritesWhereTheTemporaryPathWouldBeTooLong) {
  // Room for "/x.map", none for "/.varnholt-<pid>-<16 digits>.tmp".
  const size_t wanted = PATH_MAX - 20;
  std::filesystem::path directory = dir_;
  while (directory.string().size() < wanted) {
    const size_t room = wanted - directory.string().size() - 1;
    ASSERT_GT(room, 0u);
    directory /= std::string(std::min<size_t>(room, 200), 'd');
    ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0) << directory.string().size();
  }
  const std::string path = (directory / "x.map").string();
  saveMapFile(std::vector<uint8_t>{4, 2}, path);
  EXPECT_EQ(testing::readBytes(path), (std::vector<uint8_t>{4, 2}));
}

// In a sticky directory, another user's file can only be replaced by its
// owner or the directory's: refused up front, before any work is done.
TEST_F(Save, AnotherUsersFileInAStickyDirectoryIsRefusedUpFront) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
  const std::string path = (dir_ / "theirs.map").string();
  testing::writeBytes(path, {8});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 01777), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65533) != 0 || ::setuid(65533) != 0) ::_exit(3);
    try {
      const PendingFile file(path, Wording::MAP_FILE);
    } catch (const Error& error) {
      ::_exit(error.what() == "Operation not permitted\nAdditional info: " + path ? 0 : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(dir_.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: accepted, 2: another error, 3: no user";
  EXPECT_EQ(testing::readBytes(path), std::vector<uint8_t>{8});
}

}  // namespace
}  // namespace varnholt::mapfile
