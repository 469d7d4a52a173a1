#include "model/text.h"

#include <string>

#include "varnholt/model/error.h"

namespace varnholt {

int64_t parseInteger(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size()) throw valueError("invalid integer: " + std::string(text));
  // Accumulate the magnitude as a negative number so INT64_MIN parses too.
  int64_t value = 0;
  bool inRange = true;
  while (pos < text.size()) {
    char ch = text[pos];
    if (ch < '0' || ch > '9') throw valueError("invalid integer: " + std::string(text));
    ++pos;
    if (inRange && (__builtin_mul_overflow(value, 10, &value) ||
                    __builtin_sub_overflow(value, ch - '0', &value))) {
      inRange = false;
    }
    while (pos < text.size() && text[pos] == '_') ++pos;
  }
  if (!inRange || (!negative && value == INT64_MIN)) {
    throw valueError("Parsed integer outside of valid range");
  }
  return negative ? value : -value;
}

bool parseBool(std::string_view text) {
  std::string word;
  for (char ch : text) {
    if (ch == '_') continue;
    word += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  }
  if (word == "y" || word == "yes" || word == "true" || word == "1" || word == "on") return true;
  if (word == "n" || word == "no" || word == "false" || word == "0" || word == "off") return false;
  throw valueError("cannot interpret as a bool: " + std::string(text));
}

}  // namespace varnholt
