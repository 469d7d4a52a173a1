#pragma once

#include <cstdint>
#include <string>

#include "inspect/preview.h"

// Previews as PNG files.
namespace varnholt::inspect {

// Writes image as an RGB PNG, each pixel drawn as a scale x scale square.
// Throws Exception when the size is refused or the file cannot be written;
// a partly written file is removed.
void writePng(const Image& image, uint32_t scale, const std::string& path);

// checkPreviewSize, renderPreview, writePng.
inline void writePreview(const model::Map& map, uint32_t scale, const std::string& path) {
  checkPreviewSize(map.size, scale);
  writePng(renderPreview(map), scale, path);
}

}  // namespace varnholt::inspect
