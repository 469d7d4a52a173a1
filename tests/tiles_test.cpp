#include "geometry/tiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "expect_error.h"
#include "mapfile/nibbles.h"
#include "model/text.h"
#include "varnholt/model/error.h"

namespace varnholt {
namespace {

TEST(Tiles, IndexAndCoordinatesRoundTrip) {
  const int64_t size = 37;
  for (int64_t i = 0; i < size * size; ++i) {
    ASSERT_EQ(index(size, x(size, i), y(size, i)), i);
  }
  EXPECT_EQ(x(int64_t{320}, int64_t{321}), 1);
  EXPECT_EQ(y(int64_t{320}, int64_t{321}), 1);
  EXPECT_EQ(x(uint32_t{320}, uint32_t{321}), 1u);
  EXPECT_EQ(y(uint32_t{320}, uint32_t{321}), 1);
  EXPECT_EQ(x(int64_t{10}, int64_t{-3}), -3);  // remainder keeps the sign of the index
  EXPECT_EQ(y(int64_t{10}, int64_t{-3}), 0);   // truncated toward zero
}

TEST(Tiles, IndexWidths) {
  EXPECT_EQ(index(uint32_t{70000}, uint32_t{1}, uint32_t{70000}), uint32_t(1 + 70000u * 70000u));
  EXPECT_THROW(index(std::numeric_limits<int64_t>::max(), 0, 2), Error);
  EXPECT_THROW(x(int64_t{0}, int64_t{5}), Error);
  // A map of no tiles has no columns or rows: each form refuses size 0 with
  // the project's error instead of dividing by zero.
  EXPECT_THROW(x(uint32_t{0}, uint32_t{5}), Error);
  EXPECT_THROW(y(uint32_t{0}, uint32_t{5}), Error);
  EXPECT_THROW(y(int64_t{0}, int64_t{5}), Error);
}

TEST(Tiles, DistanceTruncatesInSinglePrecision) {
  struct Case {
    int64_t x1, y1, x2, y2, expected;
  };
  for (const Case& c : {Case{0, 0, 3, 4, 5}, Case{0, 0, 1, 1, 1}, Case{0, 0, 2, 2, 2},
                        Case{5, 5, 5, 5, 0}, Case{3, 4, 0, 0, 5}, Case{-3, 0, 0, 4, 5},
                        Case{0, 0, 39, 1, 39}, Case{0, 0, 28, 28, 39}}) {
    EXPECT_EQ(distance(c.x1, c.y1, c.x2, c.y2), c.expected)
        << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(Nibbles, CreateHighLow) {
  EXPECT_EQ(createHighLow(3, 17), 0x31);
  EXPECT_EQ(createHighLow(6, 15), 0x6F);
  EXPECT_EQ(createHighLow(0, 0), 0);
  EXPECT_EQ(createHighLow(0x1F, 0), 0xF0);
}

TEST(Text, ParseInteger) {
  struct Case {
    const char* text;
    int64_t value;
  };
  for (const Case& c : {Case{"0", 0}, Case{"+1_000", 1000}, Case{"-5", -5}, Case{"1__2_", 12},
                        Case{"9223372036854775807", std::numeric_limits<int64_t>::max()},
                        Case{"-9223372036854775808", std::numeric_limits<int64_t>::min()}}) {
    EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
  }
  for (const char* bad : {"", "+", "-", "abc", "12abc", " 1", "1 ", "1.5", "_1", "+_1", "0x10"}) {
    testing::expectError([&] { parseInteger(bad); }, "ValueError",
                         std::string("invalid integer: ") + bad);
  }
  for (const char* big : {"9223372036854775808", "-9223372036854775809", "99999999999999999999"}) {
    SCOPED_TRACE(big);
    testing::expectError([&] { parseInteger(big); }, "ValueError",
                         "Parsed integer outside of valid range");
  }
}

TEST(Text, ParseBool) {
  for (const char* yes : {"y", "yes", "TRUE", "1", "On", "t_r_u_e"}) EXPECT_TRUE(parseBool(yes));
  for (const char* no : {"n", "No", "false", "0", "OFF", "F_ALSE"}) EXPECT_FALSE(parseBool(no));
  testing::expectErrorMessage([] { parseBool("maybe"); }, "cannot interpret as a bool: maybe");
}

}  // namespace
}  // namespace varnholt
