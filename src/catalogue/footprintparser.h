#pragma once

#include <string_view>

#include "model/buildingmeta.h"

// Reading one footprint document (XML). Runs at build time, where the
// footprint compiler turns meta/buildings/ into tables; the programs never
// parse XML.
namespace varnholt::catalogue {

// Parses one footprint document: every "blocked" element that carries
// attributes becomes a cell (dx, dy, block). Throws Exception "Early EOF" when
// the text ends inside such a tag, ValueError for bad integers or booleans.
// Reading stops silently at the first malformed XML (a repeated attribute
// included); the cells before it are kept.
model::BuildingMeta parseBuildingMeta(std::string_view text);

}  // namespace varnholt::catalogue
