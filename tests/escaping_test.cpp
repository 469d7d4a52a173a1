// Quoting text in one-line messages.
#include "varnholt/escaping.h"

#include <gtest/gtest.h>

#include <string>

namespace varnholt {
namespace {

TEST(EscapeControlCharacters, WritesOutControlCharactersOnly) {
  struct Case {
    std::string text;
    std::string printed;
  };
  const Case cases[] = {
      {"maps/old.map", "maps/old.map"},
      {"a\nb", "a\\nb"},
      {"\r\t", "\\r\\t"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"\x1b[31mred\x7f", "\\x1b[31mred\\x7f"},
      // Backslashes and UTF-8 stay as they are.
      {"C:\\maps\\k\xc3\xa4rte.map", "C:\\maps\\k\xc3\xa4rte.map"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(escapeControlCharacters(c.text), c.printed) << c.printed;
}

}  // namespace
}  // namespace varnholt
