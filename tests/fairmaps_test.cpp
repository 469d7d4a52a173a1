// Fair and symmetric maps, checked through the inspector's fairness table:
// every start of every map in the table meets the guarantees of --fair, the
// starts of symmetric maps are exact copies, bad requests fail cleanly, and
// the same options give the same bytes on any number of threads.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "console.h"
#include "expect_error.h"
#include "fair_guarantees.h"
#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace varnholt {
namespace {

using testing::Case;
using testing::expectFairStarts;
using testing::label;
using testing::mapOf;

TEST(FairMaps, EveryStartMeetsTheGuarantees) {
  const Case cases[] = {
      {1, 320, 2, StartMode::FAIR},      {2, 320, 4, StartMode::FAIR},
      {3, 320, 8, StartMode::FAIR},      {123456789, 320, 8, StartMode::FAIR},
      {5, 640, 12, StartMode::FAIR},     {6, 320, 3, StartMode::FAIR},
      {7, 320, 2, StartMode::SYMMETRIC}, {8, 320, 4, StartMode::SYMMETRIC},
      {9, 320, 8, StartMode::SYMMETRIC}, {10, 640, 12, StartMode::SYMMETRIC},
      {4, 320, 6, StartMode::FAIR},      {15, 320, 6, StartMode::SYMMETRIC},
      {16, 512, 8, StartMode::FAIR},     {17, 384, 4, StartMode::SYMMETRIC},
  };
  for (const Case& c : cases) expectFairStarts(mapOf(c), c);
}

// With two and four players every start is an exact copy: columns that count
// tiles or amounts agree exactly; building spots nearly, since footprints
// are not symmetric and the goods piles are laid nearest-first.
TEST(FairMaps, SymmetricStartsOfTwoAndFourPlayersAreCopies) {
  const Case cases[] = {{11, 320, 2, StartMode::SYMMETRIC},
                        {12, 320, 4, StartMode::SYMMETRIC},
                        {13, 640, 4, StartMode::SYMMETRIC}};
  for (const Case& c : cases) {
    testing::expectExactCopies(inspect::fairness(mapOf(c)), label(c));
  }
}

// A symmetric map's layers themselves are symmetric away from the towers'
// footprints: the point reflection carries every tile's ground onto its image.
TEST(FairMaps, SymmetricGroundIsPointSymmetric) {
  const model::Map map = mapOf({14, 320, 2, StartMode::SYMMETRIC});
  const size_t tiles = map.landscape.size();
  size_t differing = 0;
  for (size_t i = 0; i < tiles; ++i) differing += map.landscape[i] != map.landscape[tiles - 1 - i];
  EXPECT_EQ(differing, 0u);
}

TEST(FairMaps, RequestsThatCannotBeMetFailWithOneReason) {
  struct Refusal {
    Case c;
    const char* message;
  };
  const Refusal refusals[] = {
      {{1, 320, 3, StartMode::SYMMETRIC}, "Symmetric maps need an even player count, not 3"},
      {{1, 200, 8, StartMode::FAIR},
       "Map too small for 8 fair starts (starts need 88 tiles between them and 52 to every edge)"},
      {{1, 320, 16, StartMode::SYMMETRIC},
       "Map too small for 16 fair starts (starts need 88 tiles between them and 52 to every edge)"},
  };
  for (const Refusal& r : refusals) {
    testing::expectError([&] { mapOf(r.c); }, "Exception", r.message);
  }
}

// The same options give the same file whether maps are made one at a time
// or on several threads at once.
TEST(FairMaps, BytesDoNotDependOnTheThreadCount) {
  const std::vector<Case> cases = {{21, 320, 8, StartMode::FAIR},
                                   {22, 320, 4, StartMode::SYMMETRIC},
                                   {23, 320, 6, StartMode::SYMMETRIC}};
  auto bytesOf = [](const Case& c) { return mapFileBytes(mapOf(c), testing::quiet); };
  std::vector<std::vector<uint8_t>> alone;
  for (const Case& c : cases) alone.push_back(bytesOf(c));
  std::vector<std::vector<uint8_t>> threaded(cases.size());
  std::vector<std::thread> threads;
  for (size_t k = 0; k < cases.size(); ++k) {
    threads.emplace_back([&, k] { threaded[k] = bytesOf(cases[k]); });
  }
  for (std::thread& t : threads) t.join();
  for (size_t k = 0; k < cases.size(); ++k) EXPECT_EQ(threaded[k], alone[k]) << label(cases[k]);
}

}  // namespace
}  // namespace varnholt
