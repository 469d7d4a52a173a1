// libFuzzer target: any bytes through the map reader, and whatever it accepts
// through the fairness table, both reports and the preview.
#include <cstddef>
#include <cstdint>

#include "mapfile/reader.h"
#include "varnholt/inspect.h"
#include "varnholt/model/error.h"
#include "varnholt/report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnholt;
  try {
    const mapfile::MapFile file = mapfile::readMap({data, size});
    inspect::textReport(file, "fuzz.map");
    inspect::jsonReport(file, "fuzz.map");
    inspect::renderPreview(file.map);
  } catch (const Error&) {
    // A refused file is a correct answer; anything else escapes and is a finding.
  }
  return 0;
}
