#pragma once

#include <map>
#include <string>
#include <string_view>

#include "model/buildingmeta.h"

// The building footprint catalogue, parsed from the XML documents compiled
// into the program.
namespace varnholt::app {

// Parses one footprint document: every "blocked" element that carries
// attributes becomes a cell (dx, dy, block). Throws Exception "Early EOF" when
// the text ends inside such a tag, ValueError for bad integers or booleans.
model::BuildingMeta parseBuildingMeta(std::string_view text);

// Parses every compiled-in document, keyed "meta/buildings/<folder>/<name>.xml".
std::map<std::string, model::BuildingMeta> loadBuildingMetas();

}  // namespace varnholt::app
