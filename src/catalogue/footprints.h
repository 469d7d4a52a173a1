#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "model/buildingmeta.h"

// The building footprint catalogue: every document under meta/buildings/,
// compiled into tables when the program is built.
namespace varnholt::catalogue {

// One compiled footprint: its catalogue key
// ("meta/buildings/<folder>/<name>.xml") and its cells in document order.
struct CompiledFootprint {
  std::string_view key;
  std::span<const model::BuildingMetaBlock> cells;
};

// Every compiled footprint in catalogue order; generated at build time.
std::span<const CompiledFootprint> compiledFootprints();

// The catalogue by key, built from the tables on first use (thread-safe).
const std::map<std::string, model::BuildingMeta>& buldingMetas();

// The footprint stored under key; throws KeyError "key not found: <key>".
const model::BuildingMeta& buildingMeta(const std::string& key);

}  // namespace varnholt::catalogue
