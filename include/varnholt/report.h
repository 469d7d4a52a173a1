#pragma once

// Reports on a map file for people (text) and programs (JSON), and previews
// as PNG files. Native builds only: these need libpng and the JSON library,
// which the browser's module leaves out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "varnholt/file.h"
#include "varnholt/inspect.h"
#include "varnholt/mapfile.h"

namespace varnholt::inspect {

// A report's work grows with the tiles and, for the fairness table, with the
// start spots: each row looks at every tile within its radius and every
// footprint that could stand there. Maps beyond these are refused, so a
// report takes seconds and a few hundred MB at most: as many spots as
// parties can be told apart, and edges of up to 2048 tiles (the generator's
// large maps are 2000).
inline constexpr size_t MAX_START_SPOTS = 256;
inline constexpr uint32_t MAX_REPORT_MAP_SIZE = 2048;

// Reads the map file at path as readMapFile does, refusing a map wider than
// MAX_REPORT_MAP_SIZE or with more towers than MAX_START_SPOTS as soon as
// the file shows it, before its tiles take memory. Throws Exception with a
// one-line reason.
mapfile::MapFile readReportable(const std::string& path);

// Throws Exception when the map is beyond MAX_REPORT_MAP_SIZE or
// MAX_START_SPOTS.
void checkReportable(const model::Map& map);

// Header values, section list, counts of ground kinds, objects, resources,
// buildings, goods and settlers, the players, the ground-convention findings,
// the landscape block (measureLandscape), the look block (measureLook) and
// the fairness table with a closing spread line. Ends with a newline.
// Throws Exception, before any work, as checkReportable does.
std::string textReport(const mapfile::MapFile& file, const std::string& path);

// The same as one JSON document (warnings included), ending with a newline.
std::string jsonReport(const mapfile::MapFile& file, const std::string& path);

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
