// Putting a PNG in place, whichever encoder the build links (png.cpp or
// png_stb.cpp): checked, written to a pending file, committed.
#include <algorithm>
#include <string>

#include "varnholt/report.h"

namespace varnholt::inspect {

void writePng(const Image& image, uint32_t scale, const std::string& path) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  mapfile::PendingFile file(path, mapfile::Wording::ONE_LINE);
  writePng(image, scale, file);
  file.commit();
}

void writePreview(const model::Map& map, uint32_t scale, mapfile::PendingFile& file) {
  checkPreviewSize(map.size, scale);
  writePng(renderPreview(map), scale, file);
}

}  // namespace varnholt::inspect
