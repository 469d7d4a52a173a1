// The run driver: command line, seeding, generation, export.
//
// The map file is complete at its path or not written at all: the file is
// created beside its path before anything is generated, put in place whole, and
// nothing that happens to standard output (closed, a reader that goes away,
// a full disk) can cost it. The exit status is 0 only when the file is there.
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/commandline.h"
#include "platform/process.h"
#include "varnholt/varnholt.h"

namespace {

using namespace varnholt;
using namespace varnholt::cli;

constexpr const char* kUsage =
    R"(Varnholt is a generator for The Settlers 3 *.map files

Usage:
  varnholt [--output=<output>] [--seed=<seed>] [--size=<size>] [--playerCount=<playerCount>] [--startGoods=<HG|MG|LG>] [--fair | --symmetric] [--landscape=<landscape>] [--climate=<climate>] [--water=<percent>] [--mountains=<percent>] [--resources=<amount>] [--teams=<teams>]
  varnholt (-h | --help)
  varnholt --version
Options:
  -h --help                     Show this screen.
  --version                     Show version.
  --output=<output>             Path to the output *.map file that will be generated. [default: random.map]
  --seed=<seed>                 Seed (numeric) to use for random functions. Use another seed to get another map. [default: 123456789]
  --size=<size>                 Size of the generated map. [default: 320]
  --playerCount=<playerCount>   Amount of player start spots on the map. [default: 8]
  --startGoods=<HG|MG|LG>       Define the stacks and settlers the players start with. [default: HG]
  --fair                        Give every player an equal start: land, wood, stone, ore and room.
  --symmetric                   Build a mirrored map whose starts are exact copies (even player counts).
  --landscape=<landscape>       Shape of the land of a fair map: continent, islands, highlands or lakes (continent when not given).
  --climate=<climate>           Ground between the building land of a fair map: temperate, desert, swamp or alpine (temperate when not given).
  --water=<percent>             Share of the map's tiles that are water: continent 15-60, islands 30-75, highlands 5-35, lakes 15-60 (the landscape's own when not given).
  --mountains=<percent>         Share of the land that is mountain with its snow: 5-45, highlands 30-60 (the landscape's own when not given).
  --resources=<amount>          Minerals, fish, trees and stones of a fair map: low, normal or high (normal when not given).
  --teams=<teams>               Teams of equal size, joined by v: 1v1, 2v2, 3v3, 4v4, 2v2v2, 2v2v2v2, ... Mates start side by side and every team gets an equal share (a fair map unless --symmetric).)";

constexpr const char* kVersion = "BETA";

// docopt.cpp splits an argument name at '|', so it is given a pipe-free name;
// help and rejection messages still print the text as written. The player
// count's default is applied by the program rather than by docopt, so a
// count given can be told from the default one.
std::string docoptText() {
  std::string text = kUsage;
  const std::string playerDefault = "player start spots on the map. [default: 8]";
  text.replace(text.find(playerDefault), playerDefault.size(), "player start spots on the map.");
  const std::string from = "<HG|MG|LG>";
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), "<startGoods>");
  }
  return text;
}

// Truth of a parsed value: absent false, flag its state, text non-empty.
bool isTrue(const docopt::value& value) {
  if (!value) return false;
  if (value.isBool()) return value.asBool();
  if (value.isLong()) return value.asLong() != 0;
  if (value.isString()) return !value.asString().empty();
  return !value.asStringList().empty();
}

std::string text(const docopt::value& value) {
  if (value.isStringList()) return value.asStringList().front();
  if (value.isLong()) return std::to_string(value.asLong());
  return value.asString();
}

int run(const std::vector<std::string>& arguments) {
  Options args;
  if (const auto status = parseCommandLine(kUsage, docoptText(), arguments, kVersion,
                                           Rejection{0}, args)) {
    return *status;
  }

  GenerateOptions options;
  const std::string output = isTrue(args["--output"]) ? text(args["--output"]) : "random.map";
  if (isTrue(args["--seed"])) options.seed = parseInteger(text(args["--seed"]));
  if (isTrue(args["--size"])) options.size = parseInteger(text(args["--size"]));
  // Teams set the player count; a count given as well must agree with them.
  if (isTrue(args["--teams"])) setOption(options, "teams", text(args["--teams"]));
  if (isTrue(args["--playerCount"])) {
    options.playerCount = parseInteger(text(args["--playerCount"]));
  }
  if (isTrue(args["--startGoods"])) setOption(options, "startGoods", text(args["--startGoods"]));
  if (isTrue(args["--fair"])) options.mode = StartMode::FAIR;
  if (isTrue(args["--symmetric"])) options.mode = StartMode::SYMMETRIC;
  // A style option makes a fair map of a classic request.
  for (const char* name : {"landscape", "climate", "water", "mountains", "resources"}) {
    const std::string option = std::string("--") + name;
    if (isTrue(args[option])) setOption(options, name, text(args[option]));
  }
  // The file is created before anything is generated, so a path that cannot
  // take it fails at once.
  // A request to end the run waits until the handler that removes the
  // temporary file knows it, so none can leave it behind.
  std::optional<platform::TerminationHeld> creating(std::in_place);
  mapfile::PendingFile file(output, mapfile::Wording::MAP_FILE);
  const platform::RemovedOnTermination removed(file);
  creating.reset();
  // Progress lines are a courtesy: a failed write to standard output is ignored.
  const Console console = [](std::string_view lines) {
    std::fwrite(lines.data(), 1, lines.size(), stdout);
  };
  const model::Map map = generateMap(options, console);
  const std::vector<uint8_t> bytes = mapFileBytes(map, console);
  const platform::TerminationHeld held;
  file.write(bytes);
  file.commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  varnholt::platform::prepareStandardStreams();
  try {
    return run(varnholt::platform::commandLineArguments(argc, argv));
  } catch (const varnholt::Error& error) {
    std::cout.flush();
    std::cerr << "Error: unhandled exception: " << error.what() << " [" << error.kind() << "]"
              << std::endl;
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "Error: unhandled exception: " << error.what() << " [Exception]" << std::endl;
  }
  return 1;
}
