// Both programs under the conditions a hostile user or a failing machine
// creates: signals at any moment, runs racing on one file, a full disk, paths
// that may not be written, links and FIFOs. Whatever happens, the file at the
// path is the old one or the complete new one, a failure is one error line
// with status 1, and nothing is left behind that a later run cannot remove.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "budget.h"
#include "platform/posix/temporaries.h"
#include "subprocess.h"
#include "tempdir.h"

namespace {

using varnholt::testing::Outcome;
using varnholt::testing::slurp;

const std::string kGenerator = std::string("'") + VARNHOLT_BINARY + "' ";
const std::string kInspector = std::string("'") + VARNHOLT_INSPECT_BINARY + "' ";
// Runs as a user who owns nothing in the test's directory.
const std::string kAsNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";

class HostileConditions : public varnholt::testing::TempDirTest {
 protected:
  Outcome shell(const std::string& command) const {
    return varnholt::testing::runShellIn(dir_, command);
  }

  std::set<std::string> entries(const std::filesystem::path& directory) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  // Makes a map file at name and returns its bytes.
  std::string makeMap(const std::string& name, int seed) const {
    const Outcome made = shell(kGenerator + "--size=160 --playerCount=2 --seed=" +
                               std::to_string(seed) + " --output=" + name);
    EXPECT_EQ(made.status, 0) << made.err;
    return slurp(dir_ / name);
  }

  // Makes the preview of map at name (scale 8) and returns its bytes.
  std::string makePreview(const std::string& map, const std::string& name) const {
    const Outcome made = shell(kInspector + "--scale=8 --png=" + name + " " + map);
    EXPECT_EQ(made.status, 0) << made.err;
    return slurp(dir_ / name);
  }

  static bool isRoot() { return ::geteuid() == 0; }
};

// Signals at moments drawn over a whole run. A caught signal removes the
// temporary file on its way out; SIGKILL leaves it, and the next run in the
// directory removes it once it is old. A signal the caller ignores (as nohup
// ignores SIGHUP) stays ignored and the run completes.
TEST_F(HostileConditions, SignalsAtRandomMoments) {
  const std::string old = makeMap("out.map", 2);
  const std::string fresh = makeMap("fresh.map", 3);
  std::filesystem::remove(dir_ / "fresh.map");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(shell(kGenerator + "--size=640 --playerCount=5 --output=timed.map").status, 0);
  const auto runTime = std::chrono::steady_clock::now() - start;
  std::filesystem::remove(dir_ / "timed.map");

  struct Case {
    int signal;
    bool ignored;
  };
  const Case cases[] = {{SIGHUP, false}, {SIGINT, false}, {SIGTERM, false},
                        {SIGKILL, false}, {SIGHUP, true}};
  std::mt19937 moments(20);
  for (const Case& c : cases) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(
          runTime * std::uniform_int_distribution<int>(0, 120)(moments) / 100);
      const std::string what = std::string(strsignal(c.signal)) + (c.ignored ? " ignored" : "") +
                               " after " + std::to_string(delay.count()) + " us";
      varnholt::testing::writeBytes(dir_ / "out.map", std::vector<uint8_t>(old.begin(), old.end()));
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        if (c.ignored) ::signal(c.signal, SIG_IGN);
        ::freopen("/dev/null", "w", stdout);
        const std::string output = "--output=" + (dir_ / "out.map").string();
        ::execl(VARNHOLT_BINARY, "varnholt", "--size=160", "--playerCount=2", "--seed=3",
                output.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
      }
      ::usleep(static_cast<useconds_t>(delay.count()));
      ::kill(child, c.signal);
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      const std::string now = slurp(dir_ / "out.map");
      EXPECT_TRUE(now == old || now == fresh) << what;
      if (c.ignored) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << what;
      }
      std::set<std::string> left = entries(dir_);
      left.erase("out.map");
      if (c.signal != SIGKILL) {
        EXPECT_EQ(left, std::set<std::string>{}) << what;
      }
      for (const std::string& name : left) {
        EXPECT_TRUE(varnholt::platform::isTemporaryName(name)) << what << ": " << name;
        const timespec aged[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        ::utimensat(AT_FDCWD, (dir_ / name).c_str(), aged, 0);
      }
    }
  }
  ASSERT_EQ(shell(kGenerator + "--size=160 --playerCount=2 --seed=3 --output=out.map").status, 0);
  EXPECT_EQ(entries(dir_), std::set<std::string>{"out.map"});
  EXPECT_TRUE(slurp(dir_ / "out.map") == fresh);
}

// Two inspectors drawing one preview at once: both succeed and the preview
// is one of them whole.
TEST_F(HostileConditions, RacingPreviews) {
  makeMap("a.map", 1);
  const std::string reference = makePreview("a.map", "reference.png");
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::string draw = kInspector + "--scale=8 --png=p.png a.map >/dev/null";
    const Outcome outcome = shell(draw + " & " + draw + "; second=$?; wait $!; echo $? $second");
    EXPECT_EQ(outcome.out, "0 0\n") << attempt;
    EXPECT_TRUE(slurp(dir_ / "p.png") == reference) << attempt;
    EXPECT_EQ(entries(dir_), (std::set<std::string>{"a.map", "p.png", "reference.png"}));
  }
}

// A disk that fills (a file size limit, SIGXFSZ not ignored by the shell)
// while the preview is written through a link: the link and the file it
// points to stay as they were, and no temporary file is left beside it.
TEST_F(HostileConditions, FullDiskUnderALinkedPreview) {
  makeMap("a.map", 1);
  std::filesystem::create_directory(dir_ / "pictures");
  varnholt::testing::writeBytes(dir_ / "pictures" / "target.png", std::vector<uint8_t>(300, 1));
  std::filesystem::create_symlink("pictures/target.png", dir_ / "link.png");
  const Outcome outcome =
      shell("ulimit -f 8; exec " + kInspector + "--scale=8 --png=link.png a.map");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Error: cannot write link.png: File too large\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.png"));
  EXPECT_EQ(varnholt::testing::readBytes(dir_ / "pictures" / "target.png"),
            std::vector<uint8_t>(300, 1));
  EXPECT_EQ(entries(dir_ / "pictures"), std::set<std::string>{"target.png"});

  // With room, the file the link points to gets the preview.
  const std::string reference = makePreview("a.map", "reference.png");
  ASSERT_EQ(shell(kInspector + "--scale=8 --png=link.png a.map").status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.png"));
  EXPECT_TRUE(slurp(dir_ / "pictures" / "target.png") == reference);
  EXPECT_EQ(entries(dir_ / "pictures"), std::set<std::string>{"target.png"});
}

// Paths that cannot take a file: refused up front with one line naming them,
// never blocking on a FIFO, never touching what is there.
TEST_F(HostileConditions, PathsThatCannotTakeAFile) {
  makeMap("a.map", 1);
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink("gone.png", dir_ / "dangling.png");
  struct Case {
    std::string command;
    std::string err;
  };
  const Case cases[] = {
      {kInspector + "--png=pipe a.map", "Error: cannot write pipe: a FIFO, not a regular file\n"},
      {kInspector + "--png=dangling.png a.map",
       "Error: cannot write dangling.png: a link to a missing file\n"},
      {kInspector + "--png=. a.map", "Error: cannot write .: a directory, not a regular file\n"},
  };
  const std::set<std::string> before = entries(dir_);
  for (const Case& c : cases) {
    const Outcome outcome = shell("timeout 10 " + c.command);
    EXPECT_EQ(outcome.status, 1) << c.command;
    EXPECT_EQ(outcome.out, "") << c.command;
    EXPECT_EQ(outcome.err, c.err) << c.command;
  }
  EXPECT_EQ(entries(dir_), before);
}

// A directory the user may not write, and another user's file in a sticky
// directory (which no rename of this user's could replace): both programs
// fail before any work is done, and the files stay as they were.
TEST_F(HostileConditions, DirectoriesTheUserMayNotWrite) {
  if (!isRoot()) GTEST_SKIP() << "needs root to act as other users";
  const std::string old = makeMap("old.map", 1);
  ASSERT_EQ(::chmod((dir_ / "old.map").c_str(), 0666), 0);
  std::filesystem::create_directory(dir_ / "sticky");
  varnholt::testing::writeBytes(dir_ / "sticky" / "theirs.map", {1, 2, 3});
  ASSERT_EQ(::chmod((dir_ / "sticky" / "theirs.map").c_str(), 0666), 0);
  ASSERT_EQ(::chown((dir_ / "sticky" / "theirs.map").c_str(), 1, 1), 0);
  ASSERT_EQ(::chmod((dir_ / "sticky").c_str(), 01777), 0);
  struct Case {
    std::string command;
    std::string err;
  };
  const Case cases[] = {
      {kAsNobody + kGenerator + "--output=new.map",
       "Error: unhandled exception: Permission denied\nAdditional info: new.map [Exception]\n"},
      {kAsNobody + kGenerator + "--output=old.map",
       "Error: unhandled exception: Permission denied\nAdditional info: old.map [Exception]\n"},
      {kAsNobody + kGenerator + "--size=2000 --output=sticky/theirs.map",
       "Error: unhandled exception: Operation not permitted\n"
       "Additional info: sticky/theirs.map [Exception]\n"},
      {kAsNobody + kInspector + "--png=p.png old.map",
       "Error: cannot write p.png: Permission denied\n"},
      {kAsNobody + kInspector + "--png=sticky/theirs.map old.map",
       "Error: cannot write sticky/theirs.map: Operation not permitted\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = shell(c.command);
    EXPECT_EQ(outcome.status, 1) << c.command;
    EXPECT_EQ(outcome.out, "") << c.command;
    EXPECT_EQ(outcome.err, c.err) << c.command;
  }
  EXPECT_TRUE(slurp(dir_ / "old.map") == old);
  EXPECT_EQ(varnholt::testing::readBytes(dir_ / "sticky" / "theirs.map"),
            (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(entries(dir_ / "sticky"), std::set<std::string>{"theirs.map"});
  ::chmod((dir_ / "sticky").c_str(), 0755);
}

}  // namespace
