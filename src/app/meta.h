#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

#include "model/buildingmeta.h"

// The building footprint catalogue, parsed from the XML documents compiled
// into the program.
namespace varnholt::app {

// One compiled-in footprint document and its catalogue key.
struct MetaFile {
  std::string_view key;
  std::string_view text;
};

// Every footprint document, keyed "meta/buildings/<folder>/<name>.xml", in
// catalogue order; generated at build time from meta/buildings/.
extern const std::array<MetaFile, 147> files;

// Parses one footprint document: every "blocked" element that carries
// attributes becomes a cell (dx, dy, block). Throws Exception "Early EOF" when
// the text ends inside such a tag, ValueError for bad integers or booleans.
// Reading stops silently at the first malformed XML (a repeated attribute
// included); the cells before it are kept.
model::BuildingMeta parseBuildingMeta(std::string_view text);

// Parses every compiled-in document, keyed "meta/buildings/<folder>/<name>.xml".
std::map<std::string, model::BuildingMeta> loadBuildingMetas();

}  // namespace varnholt::app
