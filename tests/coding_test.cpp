// The sealing pass on its own: scrambling, checksum, and the section walk over
// hand-built files, including the headers that end it early.
#include "mapfile/coding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console.h"

namespace varnholt::mapfile {

namespace {

Bytes words(std::initializer_list<uint32_t> values) {
  Bytes bytes;
  for (uint32_t value : values) write(bytes, value);
  return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct ScrambleCase {
  Bytes plain;
  uint8_t key;
  Bytes scrambled;
};

const std::vector<ScrambleCase>& scrambleCases() {
  static const std::vector<ScrambleCase> cases = {
      {{0, 0, 0, 0}, 1, {1, 2, 4, 8}},
      {{16, 0}, 2, {18, 20}},
      // The map info body of a single player game for 8 players, custom goods.
      {concat({words({1, 8, 0, 0, 0, 0})}),
       1,
       {0x00, 0x03, 0x06, 0x0C, 0x10, 0x38, 0x70, 0xE0, 0xC0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0}},
      {{}, 7, {}},
  };
  return cases;
}

TEST(Scrambling, WorkedExamplesAndTheirDecoding) {
  for (const ScrambleCase& c : scrambleCases()) {
    Bytes bytes = c.plain;
    encrypt(bytes, c.key);
    EXPECT_EQ(bytes, c.scrambled) << "key " << int{c.key};
    decrypt(bytes, c.key);
    EXPECT_EQ(bytes, c.plain) << "key " << int{c.key};
  }
}

TEST(Checksum, WordsAfterTheChecksumWord) {
  struct Case {
    const char* what;
    Bytes file;
    uint32_t sum;
  };
  const Case cases[] = {
      // A rotate-and-XOR would give 0 here: the top bit comes back by OR.
      {"top bit then 1", words({0xDEADBEEF, 2147483648u, 1}), 1},
      {"1, 2, 3", words({0, 1, 2, 3}), 3},
      {"checksum word ignored", words({0xFFFFFFFF, 1, 2, 3}), 3},
      {"little-endian", concat({words({0}), {0x01, 0x02, 0x03, 0x04}}), 0x04030201},
      {"trailing bytes ignored", concat({words({0, 1, 2, 3}), {0xFF, 0xFF, 0xFF}}), 3},
      {"empty", {}, 0},
      {"3 bytes", {9, 9, 9}, 0},
      {"4 bytes", {9, 9, 9, 9}, 0},
      {"7 bytes", {9, 9, 9, 9, 9, 9, 9}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(checksum(c.file), c.sum) << c.what;
}

TEST(Coding, CalculateChecksumPrintsTheFileSize) {
  const Bytes file = concat({words({77, 2147483648u, 1}), {5, 6}});
  testing::Recorder printed;
  EXPECT_EQ(calculateChecksum(file, printed.console()), 1u);
  EXPECT_EQ(printed.text(), "size 14\n");
}

// One section as written: type word, length, body.
Bytes section(uint32_t typeWord, uint32_t length, const Bytes& body) {
  return concat({words({typeWord, length}), body});
}

Bytes withChecksum(Bytes file) {
  const uint32_t sum = checksum(file);
  for (int k = 0; k < 4; ++k) file[k] = static_cast<uint8_t>(sum >> (8 * k));
  return file;
}

TEST(Coding, SectionWalk) {
  const Bytes head = words({0, 11});
  const Bytes trailer = {0, 0};
  struct Case {
    const char* what;
    Bytes plain;
    std::string lines;
    Bytes scrambled;  // before the checksum word is filled in
  };
  const Case cases[] = {
      {"two sections to the trailer",
       concat({head, section(1, 12, {0, 0, 0, 0}), section(2, 10, {16, 0}), trailer}),
       "1 - 4\nencrypt 1\n20\n2 - 2\nencrypt 2\n30\nstream end\nsize 32\n",
       concat({head, section(1, 12, {1, 2, 4, 8}), section(2, 10, {18, 20}), trailer})},
      {"upper half of the type word ignored",
       concat({head, section(0x00050001, 12, {0, 0, 0, 0}), trailer}),
       "1 - 4\nencrypt 1\n20\nstream end\nsize 22\n",
       concat({head, section(0x00050001, 12, {1, 2, 4, 8}), trailer})},
      {"empty body stops the walk, later sections stay plain",
       concat({head, section(1, 12, {0, 0, 0, 0}), section(2, 8, {}), section(6, 10, {1, 2}),
               trailer}),
       "1 - 4\nencrypt 1\n20\n2 - 0\nend of file\nsize 40\n",
       concat({head, section(1, 12, {1, 2, 4, 8}), section(2, 8, {}), section(6, 10, {1, 2}),
               trailer})},
      {"type 0 stops the walk",
       concat({head, section(0, 12, {0, 0, 0, 0}), section(1, 10, {0, 0}), trailer}),
       "0 - 4\nend of file\nsize 32\n",
       concat({head, section(0, 12, {0, 0, 0, 0}), section(1, 10, {0, 0}), trailer})},
      {"body reaching the end of the file",
       concat({head, section(1, 12, {0, 0, 0, 0})}),
       "1 - 4\nend of file\nsize 20\n",
       concat({head, section(1, 12, {0, 0, 0, 0})})},
      {"length below the header wraps",
       concat({head, section(1, 4, {0, 0, 0, 0}), trailer}),
       "1 - 4294967292\nend of file\nsize 22\n",
       concat({head, section(1, 4, {0, 0, 0, 0}), trailer})},
      // Types above 12 are not scrambled, and skipped whole by their length:
      // a body that looks like a section header stays as it is.
      {"type 13 is skipped by its length",
       concat({head, section(13, 20, section(1, 12, {0, 0, 0, 0})), section(2, 10, {16, 0}),
               trailer}),
       "13 - 12\nunknown section 13 skipped\n28\n2 - 2\nencrypt 2\n38\nstream end\nsize 40\n",
       concat({head, section(13, 20, section(1, 12, {0, 0, 0, 0})), section(2, 10, {18, 20}),
               trailer})},
      {"no room for a header", concat({head, {1, 0, 0}}), "end of file\nsize 11\n",
       concat({head, {1, 0, 0}})},
  };
  for (const Case& c : cases) {
    Bytes file = c.plain;
    testing::Recorder printed;
    encryptMap(file, printed.console());
    EXPECT_EQ(printed.text(), c.lines) << c.what;
    EXPECT_EQ(file, withChecksum(c.scrambled)) << c.what;
  }
}

TEST(Coding, FileTooShortForAChecksumWordGrowsToHoldIt) {
  Bytes file = {9, 9};
  encryptMap(file, testing::quiet);
  EXPECT_EQ(file, Bytes(4, 0));
}

}  // namespace
}  // namespace varnholt::mapfile
