#include "model/utils.h"

#include <cmath>
#include <string>

#include "model/error.h"

namespace varnholt {

int64_t index(int64_t size, int64_t x, int64_t y) {
  int64_t product;
  int64_t sum;
  if (__builtin_mul_overflow(size, y, &product) || __builtin_add_overflow(x, product, &sum)) {
    throw exception("Integer overflow in tile index");
  }
  return sum;
}

int64_t x(int64_t size, int64_t index) {
  if (size == 0) throw exception("Division by zero in tile column");
  if (size == -1) return 0;  // INT64_MIN % -1 would trap
  return index % size;
}

uint32_t x(uint32_t size, uint32_t index) { return index % size; }

int64_t y(int64_t size, int64_t index) {
  return static_cast<int64_t>(static_cast<double>(index) / static_cast<double>(size));
}

int64_t y(uint32_t size, uint32_t index) {
  return static_cast<int64_t>(static_cast<double>(index) / static_cast<double>(size));
}

int64_t distance(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  int64_t dx;
  int64_t dy;
  if (__builtin_sub_overflow(x1, x2, &dx) || __builtin_sub_overflow(y1, y2, &dy) ||
      dx == INT64_MIN || dy == INT64_MIN) {
    throw exception("Integer overflow in distance");
  }
  float fx = static_cast<float>(dx < 0 ? -dx : dx);
  float fy = static_cast<float>(dy < 0 ? -dy : dy);
  float sum = fx * fx + fy * fy;
  return static_cast<int64_t>(std::sqrt(sum));
}


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
