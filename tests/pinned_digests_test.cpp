// The bytes users get: each command line of tests/pinned/digests.txt must
// write a map file and print progress lines with exactly the recorded
// SHA-256 digests. The other tests compare the program with itself; this
// table is what proves a change left every user's maps alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sha256.h"
#include "subprocess.h"
#include "tempdir.h"

namespace varnholt {
namespace {

struct PinnedRun {
  std::string mapDigest;
  std::string outputDigest;
  std::string arguments;
};

std::vector<PinnedRun> pinnedRuns() {
  std::ifstream in(VARNHOLT_SOURCE_DIR "/tests/pinned/digests.txt");
  std::vector<PinnedRun> runs;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    PinnedRun run;
    fields >> run.mapDigest >> run.outputDigest;
    std::getline(fields >> std::ws, run.arguments);
    runs.push_back(run);
  }
  return runs;
}

TEST(Sha256, MatchesKnownDigests) {
  EXPECT_EQ(testing::sha256Hex(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(testing::sha256Hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Two blocks: the padding spills into a second one.
  EXPECT_EQ(testing::sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

class PinnedDigests : public testing::TempDirTest {};

TEST_F(PinnedDigests, EveryCommandLineWritesItsRecordedBytes) {
  const std::vector<PinnedRun> runs = pinnedRuns();
  ASSERT_GE(runs.size(), 16u) << "tests/pinned/digests.txt is missing or short";
  for (const PinnedRun& run : runs) {
    const testing::Outcome outcome =
        testing::runIn(dir_, VARNHOLT_BINARY, run.arguments + " --output=m.map");
    ASSERT_EQ(outcome.status, 0) << run.arguments << ": " << outcome.err;
    EXPECT_EQ(testing::sha256Hex(testing::slurp(dir_ / "m.map")), run.mapDigest)
        << "map file of: varnholt " << run.arguments;
    EXPECT_EQ(testing::sha256Hex(outcome.out), run.outputDigest)
        << "standard output of: varnholt " << run.arguments;
  }
}

}  // namespace
}  // namespace varnholt
