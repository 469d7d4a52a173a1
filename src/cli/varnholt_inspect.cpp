// The inspector: reads a map file, reports what it holds and how fair its
// start spots are, and draws a preview on request.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/commandline.h"
#include "inspect/png.h"
#include "inspect/report.h"
#include "mapfile/reader.h"
#include "model/utils.h"

namespace {

using namespace varnholt;
using namespace varnholt::cli;

constexpr const char* kUsage =
    R"(Varnholt-inspect checks a The Settlers 3 *.map file, reports what it holds and how fair its start positions are, and draws a preview

Usage:
  varnholt-inspect [--json] [--png=<png>] [--scale=<scale>] <map>
  varnholt-inspect (-h | --help)
  varnholt-inspect --version
Options:
  -h --help          Show this screen.
  --version          Show version.
  --json             Print the report as one JSON document instead of text.
  --png=<png>        Also draw the map into this PNG file.
  --scale=<scale>    Pixels per tile edge in the PNG, 1 to 16. [default: 1])";

constexpr const char* kVersion = "BETA";

bool isSet(const docopt::value& value) { return value && value.isString(); }

int run(const std::vector<std::string>& arguments) {
  Options args;
  if (const auto status =
          parseCommandLine(kUsage, kUsage, arguments, kVersion, Rejection{1}, args)) {
    return *status;
  }

  const std::string path = args["<map>"].asString();
  const bool json = args["--json"].asBool();
  const int64_t scale = isSet(args["--scale"]) ? parseInteger(args["--scale"].asString()) : 1;
  inspect::checkPreviewSize(1, scale);

  const mapfile::MapFile file = mapfile::importMap(path);
  for (const std::string& warning : file.warnings) std::cerr << "Warning: " << warning << "\n";
  if (isSet(args["--png"])) {
    inspect::writePreview(file.map, static_cast<uint32_t>(scale), args["--png"].asString());
  }
  std::cout << (json ? inspect::jsonReport(file, path) : inspect::textReport(file, path)) << std::flush;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "Error: " << error.what() << std::endl;
  }
  return 1;
}
