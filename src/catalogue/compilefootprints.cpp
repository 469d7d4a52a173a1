// The footprint compiler, run by the build: parses every footprint document
// and writes them as C++ tables, so the programs never parse XML.
//
//   compilefootprints <output.cpp> <source dir> <key>...
//
// Each key is a document's path below the source dir and becomes its
// catalogue key. A document the parser rejects fails the build with the
// parser's message.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/footprintparser.h"
#include "varnholt/model/error.h"

namespace {

using varnholt::model::BuildingMeta;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw varnholt::exception("Cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string tables(const std::vector<std::string>& keys, const std::vector<BuildingMeta>& metas) {
  std::ostringstream out;
  out << "// Generated at build time from meta/buildings/; edit the documents, not this file.\n"
         "#include \"catalogue/footprints.h\"\n\n"
         "namespace varnholt::catalogue {\n\nnamespace {\n\n"
         "using model::BuildingMetaBlock;\n\n";
  for (size_t i = 0; i < metas.size(); ++i) {
    if (metas[i].blocks.empty()) continue;
    out << "constexpr BuildingMetaBlock kCells" << i << "[] = {\n";
    for (const auto& cell : metas[i].blocks) {
      out << "    {" << cell.xOffset << ", " << cell.yOffset << ", "
          << (cell.blocked ? "true" : "false") << "},\n";
    }
    out << "};\n";
  }
  out << "\nconstexpr CompiledFootprint kFootprints[] = {\n";
  for (size_t i = 0; i < metas.size(); ++i) {
    out << "    {\"" << keys[i] << "\", ";
    if (metas[i].blocks.empty()) {
      out << "{}";
    } else {
      out << "kCells" << i;
    }
    out << "},\n";
  }
  out << "};\n\n}  // namespace\n\n"
         "std::span<const CompiledFootprint> compiledFootprints() { return kFootprints; }\n\n"
         "}  // namespace varnholt::catalogue\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: compilefootprints <output.cpp> <source dir> <key>...\n";
    return 1;
  }
  const std::string output = argv[1];
  const std::string sourceDir = argv[2];
  std::vector<std::string> keys(argv + 3, argv + argc);
  std::vector<BuildingMeta> metas;
  for (const std::string& key : keys) {
    try {
      metas.push_back(varnholt::catalogue::parseBuildingMeta(readText(sourceDir + "/" + key)));
    } catch (const varnholt::Error& error) {
      std::cerr << "Error: " << key << ": " << error.what() << " [" << error.kind() << "]\n";
      return 1;
    }
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << tables(keys, metas);
  out.close();
  if (!out) {
    std::cerr << "Error: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
