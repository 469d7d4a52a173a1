// The generator as a WebAssembly module for the page's worker: one call
// makes a map from the page's options and hands back all the page shows and
// saves.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

#include "varnholt/inspect.h"
#include "varnholt/varnholt.h"

namespace {

using emscripten::val;

constexpr double kProgressIntervalMs = 100;  // the page hears at most this often how far a run is

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
// row { spot: { party, x, y, colour }, values }, each spread { min, max }.
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

// The generator's options from the page's: seed as decimal text (a JS
// number cannot hold every 64-bit seed), size and players as numbers, goods
// as HG, MG or LG. Throws Exception for a seed that is no decimal integer.
varnholt::GenerateOptions optionsOf(const val& options) {
  varnholt::GenerateOptions out;
  const std::string seed = options["seed"].as<std::string>();
  const auto [end, error] = std::from_chars(seed.data(), seed.data() + seed.size(), out.seed);
  if (error != std::errc() || end != seed.data() + seed.size()) {
    throw varnholt::exception("invalid seed: " + seed);
  }
  out.size = static_cast<int64_t>(options["size"].as<double>());
  out.playerCount = static_cast<int64_t>(options["players"].as<double>());
  out.startGoods = varnholt::model::getStartResourcesTypeFromKey(options["goods"].as<std::string>());
  const val startsOption = options["starts"];
  const std::string starts =
      startsOption.isUndefined() ? "classic" : startsOption.as<std::string>();
  if (starts == "fair") {
    out.mode = varnholt::StartMode::FAIR;
  } else if (starts == "symmetric") {
    out.mode = varnholt::StartMode::SYMMETRIC;
  } else if (starts != "classic") {
    throw varnholt::exception("invalid starts: " + starts);
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

}  // namespace

EMSCRIPTEN_BINDINGS(varnholt) { emscripten::function("generate", &generate); }
