#include "varnholt/model/mapstyle.h"

#include <array>
#include <string>

#include "varnholt/model/error.h"
#include "varnholt/options.h"

namespace varnholt::model {

namespace {

constexpr std::array<std::string_view, 4> kLandscapes = {"continent", "islands", "highlands",
                                                         "lakes"};
constexpr std::array<std::string_view, 4> kClimates = {"temperate", "desert", "swamp", "alpine"};
constexpr std::array<std::string_view, 3> kAmounts = {"low", "normal", "high"};

// "a, b or c"
template <size_t N>
std::string listed(const std::array<std::string_view, N>& names) {
  std::string text;
  for (size_t i = 0; i < N; ++i) {
    if (i > 0) text += i + 1 == N ? " or " : ", ";
    text += names[i];
  }
  return text;
}

template <size_t N>
size_t parseName(std::string_view option, const std::array<std::string_view, N>& names,
                 std::string_view text) {
  for (size_t i = 0; i < N; ++i) {
    if (names[i] == text) return i;
  }
  throw valueError(std::string(option) + " takes " + listed(names) + ", not '" + std::string(text) +
                   "'");
}

}  // namespace

std::string_view name(LandscapeStyle landscape) {
  return kLandscapes[static_cast<size_t>(landscape)];
}
std::string_view name(ClimateStyle climate) { return kClimates[static_cast<size_t>(climate)]; }
std::string_view name(ResourceAmount amount) { return kAmounts[static_cast<size_t>(amount)]; }

LandscapeStyle parseLandscape(std::string_view text) {
  return static_cast<LandscapeStyle>(parseName("--landscape", kLandscapes, text));
}

ClimateStyle parseClimate(std::string_view text) {
  return static_cast<ClimateStyle>(parseName("--climate", kClimates, text));
}

ResourceAmount parseResourceAmount(std::string_view text) {
  return static_cast<ResourceAmount>(parseName("--resources", kAmounts, text));
}

int32_t parsePercent(std::string_view option, std::string_view text) {
  const bool digits = !text.empty() && text.size() <= 3 &&
                      text.find_first_not_of("0123456789") == std::string_view::npos;
  const int32_t percent = digits ? static_cast<int32_t>(parseInteger(text)) : -1;
  if (percent < 0 || percent > 100) {
    throw valueError(std::string(option) + " takes a whole percent, not '" + std::string(text) +
                     "'");
  }
  return percent;
}

}  // namespace varnholt::model
