#include "catalogue/footprints.h"

#include "varnholt/model/error.h"

namespace varnholt::catalogue {

const std::map<std::string, model::BuildingMeta>& buldingMetas() {
  static const std::map<std::string, model::BuildingMeta> metas = [] {
    std::map<std::string, model::BuildingMeta> byKey;
    for (const CompiledFootprint& footprint : compiledFootprints()) {
      byKey.insert_or_assign(std::string(footprint.key),
                             model::BuildingMeta{{footprint.cells.begin(), footprint.cells.end()}});
    }
    return byKey;
  }();
  return metas;
}

const model::BuildingMeta& buildingMeta(const std::string& key) {
  const auto& metas = buldingMetas();
  const auto found = metas.find(key);
  if (found == metas.end()) throw keyError("key not found: " + key);
  return found->second;
}

}  // namespace varnholt::catalogue
