// The inspector: reads a map file, reports what it holds and how fair its
// start spots are, and draws a preview on request. Every write is checked:
// a report, warning or preview that did not reach its place ends the run with
// status 1.
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commandline.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "varnholt/escaping.h"
#include "varnholt/report.h"
#include "varnholt/varnholt.h"

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

// Refuses a preview path that names the map file itself, under any name.
void checkPreviewPath(const std::string& preview, const std::string& map) {
  if (platform::sameFile(preview, map)) {
    throw exception("refusing to draw the preview " + escapeControlCharacters(preview) +
                    " over the map file " + escapeControlCharacters(map));
  }
}

// Writes text to stream and flushes it. Throws Exception "cannot write the
// <what>: <reason>" when any of it cannot be written.
void writeChecked(std::FILE* stream, const std::string& text, const std::string& what) {
  if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() ||
      std::fflush(stream) != 0) {
    throw exception("cannot write the " + what + ": " + std::generic_category().message(errno));
  }
}

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

  // The preview's file is created before the map is read, so a path that
  // cannot take it fails at once; it is put in place as the map file is.
  std::optional<mapfile::PendingFile> preview;
  std::optional<platform::RemovedOnTermination> removed;
  if (isSet(args["--png"])) {
    checkPreviewPath(args["--png"].asString(), path);
    // A request to end the run waits until the temporary file is known to
    // the handler that removes it.
    const platform::TerminationHeld creating;
    preview.emplace(args["--png"].asString(), mapfile::Wording::ONE_LINE);
    removed.emplace(*preview);
  }

  // A map too wide or with too many towers to report is refused as soon as
  // the file shows it, before its tiles take memory.
  const mapfile::MapFile file = inspect::readReportable(path);
  // A report whose warnings were lost is no clean report.
  for (const std::string& warning : file.warnings) {
    writeChecked(stderr, "Warning: " + warning + "\n", "warnings to standard error");
  }
  inspect::checkReportable(file.map);
  if (preview) {
    inspect::writePreview(file.map, static_cast<uint32_t>(scale), *preview);
    const platform::TerminationHeld held;
    preview->commit();
  }
  writeChecked(stdout, json ? inspect::jsonReport(file, path) : inspect::textReport(file, path),
               "report to standard output");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  varnholt::platform::prepareStandardStreams();
  try {
    return run(varnholt::platform::commandLineArguments(argc, argv));
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "Error: " << varnholt::escapeControlCharacters(error.what()) << std::endl;
  }
  return 1;
}
