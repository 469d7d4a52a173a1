// The generator as a WebAssembly module for the page: one call makes a map
// from the page's options and hands back all the page shows and saves (in
// the page's worker); another reads an integer field as the command line
// would (on the page's thread).
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "varnholt/inspect.h"
#include "varnholt/options.h"
#include "varnholt/varnholt.h"

namespace {

using emscripten::val;

constexpr double kProgressIntervalMs = 100;  // the page hears at most this often how far a run is
// parseInteger's message for a well-formed integer beyond 64 bits.
constexpr std::string_view kOutOfRange = "Parsed integer outside of valid range";

// A new JS Uint8Array holding a copy of the bytes, so it outlives the module's memory.
val copyOf(const std::vector<uint8_t>& bytes) {
  return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

// The preview's pixels with an opaque alpha byte after each, as a canvas takes them.
std::vector<uint8_t> rgbaOf(const varnholt::inspect::Image& image) {
  std::vector<uint8_t> rgba(image.rgb.size() / 3 * 4, 255);
  for (size_t from = 0, to = 0; from < image.rgb.size(); from += 3, to += 4) {
    std::copy_n(image.rgb.begin() + static_cast<std::ptrdiff_t>(from), 3,
                rgba.begin() + static_cast<std::ptrdiff_t>(to));
  }
  return rgba;
}

// "#rrggbb" of a party's colour in the preview.
std::string colourOf(uint8_t party) {
  const auto [r, g, b] = varnholt::inspect::partyColour(party);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
  return text;
}

// The fairness table as { fromTowers, radius, columns, rows, spread }; each
// row { spot: { party, x, y, colour, team }, values } (team 0 where the
// player's name gives none), each spread { min, max }.
val fairnessOf(const varnholt::inspect::Fairness& fairness) {
  val columns = val::array();
  for (const std::string_view name : varnholt::inspect::COLUMN_NAMES) columns.call<void>("push", std::string(name));
  val rows = val::array();
  for (const varnholt::inspect::FairnessRow& row : fairness.rows) {
    val spot = val::object();
    spot.set("party", row.spot.party);
    spot.set("x", row.spot.x);
    spot.set("y", row.spot.y);
    spot.set("colour", colourOf(row.spot.party));
    spot.set("team", row.team);
    val values = val::array();
    for (const int64_t value : row.values) values.call<void>("push", static_cast<double>(value));
    val line = val::object();
    line.set("spot", spot);
    line.set("values", values);
    rows.call<void>("push", line);
  }
  val spread = val::array();
  for (const varnholt::inspect::Spread& column : fairness.spread) {
    val range = val::object();
    range.set("min", static_cast<double>(column.min));
    range.set("max", static_cast<double>(column.max));
    spread.call<void>("push", range);
  }
  val table = val::object();
  table.set("fromTowers", fairness.fromTowers);
  table.set("radius", static_cast<double>(fairness.radius));
  table.set("columns", columns);
  table.set("rows", rows);
  table.set("spread", spread);
  return table;
}

// An integer option as the command line reads it: text in the seed grammar
// (an optional sign, digits each optionally followed by '_'), or a JS number
// that is a whole number within 64 bits. Throws ValueError with the command
// line's message otherwise ("invalid integer: NaN", "Parsed integer outside
// of valid range"); converting such a number unchecked would be undefined.
int64_t integerOf(const val& value) {
  if (value.isString()) return varnholt::parseInteger(value.as<std::string>());
  const std::string text = val::global("String")(value).as<std::string>();
  if (!value.isNumber()) throw varnholt::valueError("invalid integer: " + text);
  const double number = value.as<double>();
  if (!std::isfinite(number) || std::trunc(number) != number) {
    throw varnholt::valueError("invalid integer: " + text);
  }
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (number < -kTwoTo63 || number >= kTwoTo63) {
    throw varnholt::valueError(std::string(kOutOfRange));
  }
  return static_cast<int64_t>(number);
}

// The generator's options from the page's: seed, size and players as
// integer options (the seed as text, since a JS number cannot hold every
// 64-bit seed), goods as HG, MG or LG, starts as classic (or absent), fair
// or symmetric, and the style's landscape, climate, water, mountains and
// resources as the command line's texts (absent or empty: not given; any
// given makes classic starts fair), and teams the same way (a count that
// disagrees with players is refused). Throws Error for a value the command
// line would refuse.
varnholt::GenerateOptions optionsOf(const val& options) {
  varnholt::GenerateOptions out;
  out.seed = integerOf(options["seed"]);
  out.size = integerOf(options["size"]);
  out.playerCount = integerOf(options["players"]);
  varnholt::setOption(out, "startGoods", options["goods"].as<std::string>());
  const val starts = options["starts"];
  if (!starts.isUndefined()) varnholt::setOption(out, "starts", starts.as<std::string>());
  // The style, as text; an option absent or empty is not given.
  for (const char* name : {"landscape", "climate", "water", "mountains", "resources"}) {
    const val style = options[name];
    if (style.isUndefined() || style.as<std::string>().empty()) continue;
    varnholt::setOption(out, name, style.as<std::string>());
  }
  // Teams, like a style, make classic starts fair; they set a player count of
  // their own, and the page's count must agree with it.
  const val teams = options["teams"];
  if (!teams.isUndefined() && !teams.as<std::string>().empty()) {
    varnholt::setOption(out, "teams", teams.as<std::string>());
    out.playerCount = integerOf(options["players"]);
  }
  return out;
}

// Makes the map the options describe. Returns { bytes, preview: { width,
// height, rgba }, fairness, console }, or { error, console } when the options
// are refused or the map cannot be made. bytes are the map file exactly as
// the command line writes it; console is the run's console text. While it
// runs, onProgress is called at most every kProgressIntervalMs with the
// latest console line.
val generate(const val& options, const val& onProgress) {
  std::string console;
  double lastReport = -kProgressIntervalMs;  // the first line is reported at once
  const varnholt::Console toConsole = [&](std::string_view text) {
    console.append(text);
    const double now = emscripten_get_now();
    if (now - lastReport < kProgressIntervalMs) return;
    lastReport = now;
    const std::string_view lines = text.substr(0, text.find_last_not_of('\n') + 1);
    onProgress(std::string(lines.substr(lines.find_last_of('\n') + 1)));
  };
  val result = val::object();
  try {
    const varnholt::model::Map map = varnholt::generateMap(optionsOf(options), toConsole);
    const std::vector<uint8_t> bytes = varnholt::mapFileBytes(map, toConsole);
    const varnholt::inspect::Image preview = varnholt::inspect::renderPreview(map);
    val picture = val::object();
    picture.set("width", preview.width);
    picture.set("height", preview.height);
    picture.set("rgba", copyOf(rgbaOf(preview)));
    result.set("bytes", copyOf(bytes));
    result.set("preview", picture);
    result.set("fairness", fairnessOf(varnholt::inspect::fairness(map)));
  } catch (const std::exception& error) {
    result.set("error", std::string(error.what()));
  }
  result.set("console", console);
  return result;
}

// Reads text as the command line reads an integer option. Returns { value }
// with the value as decimal text, or { error, outOfRange } with the command
// line's message; outOfRange tells a well-formed integer too far from zero
// from text that is no integer at all.
val readInteger(const std::string& text) {
  val result = val::object();
  try {
    result.set("value", std::to_string(varnholt::parseInteger(text)));
  } catch (const varnholt::Error& error) {
    const std::string message = error.what();
    result.set("error", message);
    result.set("outOfRange", message == kOutOfRange);
  }
  return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(varnholt) {
  emscripten::function("generate", &generate);
  emscripten::function("readInteger", &readInteger);
}
