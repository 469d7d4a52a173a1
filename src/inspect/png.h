#pragma once

#include <cstdint>
#include <string>

#include "inspect/preview.h"
#include "mapfile/save.h"

// Previews as PNG files.
namespace varnholt::inspect {

// Writes image as an RGB PNG into file, each pixel drawn as a scale x scale
// square; file.commit() then puts it in place. Throws Exception "cannot write
// <path>: <reason>" when the size is refused, a write fails or libpng gives up.
void writePng(const Image& image, uint32_t scale, mapfile::PendingFile& file);

// Puts image as a PNG at path whole or not at all, as the map file is put in
// place (see mapfile::PendingFile), with one-line messages.
void writePng(const Image& image, uint32_t scale, const std::string& path);

// checkPreviewSize, renderPreview, writePng into file.
void writePreview(const model::Map& map, uint32_t scale, mapfile::PendingFile& file);

}  // namespace varnholt::inspect
