// libFuzzer target: any bytes through the map reader, and whatever it accepts
// through the fairness table, both reports and the preview.
#include <cstddef>
#include <cstdint>

#include "app/mapimport.h"
#include "app/preview.h"
#include "app/report.h"
#include "error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnholt;
  try {
    const app::MapFile file = app::readMap({data, size});
    app::textReport(file, "fuzz.map");
    app::jsonReport(file, "fuzz.map");
    app::renderPreview(file.map);
  } catch (const Error&) {
    // A refused file is a correct answer; anything else escapes and is a finding.
  }
  return 0;
}
