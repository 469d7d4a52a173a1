#include "varnholt/report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "inspect/conventions.h"
#include "inspect/fairness.h"
#include "inspect/landscapereport.h"
#include "inspect/lookreport.h"
#include "inspect/teamreport.h"
#include "mapfile/reader.h"
#include "varnholt/escaping.h"
#include "varnholt/model/error.h"

namespace varnholt::inspect {

namespace {

using Json = nlohmann::ordered_json;
using model::Map;

// Whole-map counts.
struct Summary {
  std::array<int64_t, 256> ground{};  // tiles per ground code
  int64_t trees = 0;
  int64_t stones = 0;
  std::array<int64_t, 16> resourceTiles{};  // tiles with an amount above 0, per resource code
  std::array<int64_t, 16> resourceAmounts{};
  std::map<uint8_t, int64_t> buildings;  // per building code
  int64_t goods = 0;
};

Summary summarize(const Map& map) {
  Summary s;
  for (size_t i = 0; i < map.landscape.size(); ++i) {
    ++s.ground[static_cast<uint8_t>(map.landscape[i])];
    s.trees += isTree(map.objects[i]);
    s.stones += isStone(map.objects[i]);
    if (map.resourceAmounts[i] > 0) {
      const auto code = static_cast<uint8_t>(map.resources[i]);
      ++s.resourceTiles[code];
      s.resourceAmounts[code] += map.resourceAmounts[i];
    }
  }
  for (const model::Building& b : map.buildings) ++s.buildings[static_cast<uint8_t>(b.buildingType)];
  for (const model::Stack& stack : map.stacks) s.goods += stack.count;
  return s;
}

bool checksumOk(const mapfile::MapFile& file) { return file.storedChecksum == file.computedChecksum; }

// A player name up to its first NUL without trailing spaces, bytes outside
// printable ASCII as '?'.
std::string printable(const std::string& name) {
  std::string out = name.substr(0, name.find('\0'));
  out.erase(out.find_last_not_of(' ') + 1);
  for (char& c : out) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  return out;
}

// max / min as a factor with two decimals: "-" when both are 0, "inf" when
// only the minimum is.
std::string ratio(const Spread& spread) {
  if (spread.max == 0) return "-";
  if (spread.min == 0) return "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(spread.max) / spread.min);
  return text;
}

const char* basis(const Fairness& f) { return f.fromTowers ? "towers" : "player start spots"; }

std::string codeAndName(unsigned code, const std::string& name) {
  return std::to_string(code) + " (" + name + ")";
}

void writeTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths(header.size());
  for (size_t c = 0; c < header.size(); ++c) {
    widths[c] = header[c].size();
    for (const auto& row : rows) widths[c] = std::max(widths[c], row[c].size());
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    // Labels left, numbers right.
    text += cells[0] + std::string(widths[0] - cells[0].size(), ' ');
    for (size_t c = 1; c < cells.size(); ++c) {
      text += std::string(widths[c] - cells[c].size() + 2, ' ') + cells[c];
    }
    out << text << '\n';
  };
  line(header);
  for (const auto& row : rows) line(row);
}

void writeFairness(std::ostream& out, const Fairness& f) {
  out << "fairness (within " << FAIRNESS_RADIUS << " tiles of each of the " << f.rows.size()
      << " " << basis(f) << "; claimed and settlers over the whole map):\n";
  // The team column shows only on maps whose player names give teams.
  const bool teams = std::any_of(f.rows.begin(), f.rows.end(),
                                 [](const FairnessRow& r) { return r.team != 0; });
  std::vector<std::string> header = {"party", "x", "y"};
  if (teams) header.insert(header.begin() + 1, "team");
  header.insert(header.end(), COLUMN_NAMES.begin(), COLUMN_NAMES.end());
  std::vector<std::vector<std::string>> rows;
  for (const FairnessRow& r : f.rows) {
    std::vector<std::string> cells = {std::to_string(r.spot.party), std::to_string(r.spot.x),
                                      std::to_string(r.spot.y)};
    if (teams) cells.insert(cells.begin() + 1, r.team == 0 ? "-" : std::to_string(r.team));
    for (int64_t value : r.values) cells.push_back(std::to_string(value));
    rows.push_back(cells);
  }
  std::vector<std::string> spread = {"max/min", "", ""};
  if (teams) spread.push_back("");
  for (const Spread& s : f.spread) spread.push_back(ratio(s));
  rows.push_back(spread);
  writeTable(out, header, rows);
}

Json fairnessJson(const Fairness& f) {
  Json rows = Json::array();
  for (const FairnessRow& r : f.rows) {
    Json row = {{"party", r.spot.party}, {"team", nullptr}, {"x", r.spot.x}, {"y", r.spot.y}};
    if (r.team != 0) row["team"] = r.team;
    for (size_t c = 0; c < COLUMN_COUNT; ++c) row[std::string(COLUMN_NAMES[c])] = r.values[c];
    rows.push_back(row);
  }
  Json spread = Json::object();
  for (size_t c = 0; c < COLUMN_COUNT; ++c) {
    const Spread& s = f.spread[c];
    Json entry = {{"min", s.min}, {"max", s.max}, {"ratio", nullptr}};
    if (s.min > 0) entry["ratio"] = static_cast<double>(s.max) / s.min;
    spread[std::string(COLUMN_NAMES[c])] = entry;
  }
  return {{"radius", FAIRNESS_RADIUS}, {"basis", basis(f)}, {"rows", rows}, {"spread", spread}};
}

void writeConventions(std::ostream& out, const Conventions& c) {
  out << "conventions (water level " << c.waterLevel << "; 0 of each on maps that keep them):\n";
  for (const auto& [label, count] : findings(c)) out << "  " << label << ": " << count << "\n";
}

Json conventionsJson(const Conventions& c) {
  Json json = {{"waterLevel", c.waterLevel}};
  for (const auto& [label, count] : findings(c)) json[std::string(label)] = count;
  return json;
}

}  // namespace

mapfile::MapFile readReportable(const std::string& path) {
  return mapfile::importMap(path, {.maxMapSize = MAX_REPORT_MAP_SIZE, .maxTowers = MAX_START_SPOTS});
}

void checkReportable(const Map& map) {
  if (map.size > MAX_REPORT_MAP_SIZE) {
    throw exception("the map is " + std::to_string(map.size) +
                    " tiles wide; reports are made for maps up to " +
                    std::to_string(MAX_REPORT_MAP_SIZE));
  }
  const std::vector<StartSpot> spots = startSpots(map);
  if (spots.size() > MAX_START_SPOTS) {
    throw exception("the map has " + std::to_string(spots.size()) +
                    " start spots; the fairness table takes at most " +
                    std::to_string(MAX_START_SPOTS));
  }
}

std::string textReport(const mapfile::MapFile& file, const std::string& path) {
  const Map& map = file.map;
  checkReportable(map);
  const Summary s = summarize(map);
  std::ostringstream out;
  out << "file: " << escapeControlCharacters(path) << " (" << file.fileSize << " bytes)\n";
  if (checksumOk(file)) {
    out << "checksum: ok (" << file.storedChecksum << ")\n";
  } else {
    out << "checksum: MISMATCH, stored " << file.storedChecksum << ", computed "
        << file.computedChecksum << "\n";
  }
  out << "file version: " << codeAndName(file.fileVersion, name(map.fileVersion)) << "\n";
  out << "game type: " << name(map.gameType) << "\n";
  out << "player count: " << map.playerCount << "\n";
  out << "start goods: " << name(map.startResources) << "\n";
  out << "size: " << map.size << " x " << map.size << "\n";
  out << "sections (type:length):";
  for (const mapfile::Section& section : file.sections) {
    out << " " << section.type << ":" << section.length;
  }
  out << "\n\nground:\n";
  for (size_t code = 0; code < s.ground.size(); ++code) {
    if (s.ground[code] == 0) continue;
    out << "  " << name(static_cast<model::LandscapeType>(code)) << ": " << s.ground[code] << "\n";
  }
  out << "trees: " << s.trees << "\nstones: " << s.stones << "\nresources (tiles, amount):\n";
  for (size_t code = 0; code < s.resourceTiles.size(); ++code) {
    if (s.resourceTiles[code] == 0) continue;
    out << "  " << name(static_cast<model::ResourceType>(code)) << ": " << s.resourceTiles[code]
        << ", " << s.resourceAmounts[code] << "\n";
  }
  out << "buildings: " << map.buildings.size();
  const char* separator = " (";
  for (const auto& [code, count] : s.buildings) {
    out << separator << name(static_cast<model::BuildingType>(code)) << " " << count;
    separator = ", ";
  }
  out << (s.buildings.empty() ? "\n" : ")\n");
  out << "goods piles: " << map.stacks.size() << " holding " << s.goods << " goods\n";
  out << "settlers: " << map.settlers.size() << "\n\nplayers:\n";
  for (size_t i = 0; i < map.players.size(); ++i) {
    const model::Player& p = map.players[i];
    out << "  " << i << ": " << name(p.civilization) << " at " << p.startX << ", " << p.startY
        << " \"" << printable(p.name) << "\"\n";
  }
  out << "\n";
  writeConventions(out, conventions(map));
  out << "\n";
  writeLandscape(out, measureLandscape(map));
  out << "\n";
  const Fairness f = fairness(map);
  writeLook(out, measureLook(map), f.rows.size(), basis(f));
  out << "\n";
  writeFairness(out, f);
  const Teams t = teams(f);
  if (!t.teams.empty()) {
    out << "\n";
    writeTeams(out, t);
  }
  return out.str();
}

std::string jsonReport(const mapfile::MapFile& file, const std::string& path) {
  const Map& map = file.map;
  checkReportable(map);
  const Summary s = summarize(map);
  Json sections = Json::array();
  for (const mapfile::Section& section : file.sections) {
    sections.push_back({{"type", section.type},
                        {"typeWord", section.typeWord},
                        {"offset", section.offset},
                        {"length", section.length}});
  }
  Json ground = Json::object();
  for (size_t code = 0; code < s.ground.size(); ++code) {
    if (s.ground[code] > 0) ground[name(static_cast<model::LandscapeType>(code))] = s.ground[code];
  }
  Json resources = Json::object();
  for (size_t code = 0; code < s.resourceTiles.size(); ++code) {
    if (s.resourceTiles[code] == 0) continue;
    resources[name(static_cast<model::ResourceType>(code))] = {
        {"tiles", s.resourceTiles[code]}, {"amount", s.resourceAmounts[code]}};
  }
  Json buildings = Json::object();
  for (const auto& [code, count] : s.buildings) {
    buildings[name(static_cast<model::BuildingType>(code))] = count;
  }
  Json players = Json::array();
  for (const model::Player& p : map.players) {
    players.push_back({{"civilization", name(p.civilization)},
                       {"startX", p.startX},
                       {"startY", p.startY},
                       {"name", printable(p.name)}});
  }
  const Fairness f = fairness(map);
  const Json report = {
      {"file", path},
      {"bytes", file.fileSize},
      {"checksum",
       {{"ok", checksumOk(file)}, {"stored", file.storedChecksum}, {"computed", file.computedChecksum}}},
      {"warnings", file.warnings},
      {"fileVersion", file.fileVersion},
      {"fileVersionName", name(map.fileVersion)},
      {"gameType", name(map.gameType)},
      {"playerCount", map.playerCount},
      {"startGoods", name(map.startResources)},
      {"size", map.size},
      {"sections", sections},
      {"ground", ground},
      {"trees", s.trees},
      {"stones", s.stones},
      {"resources", resources},
      {"buildings", {{"count", map.buildings.size()}, {"byType", buildings}}},
      {"goodsPiles", {{"count", map.stacks.size()}, {"goods", s.goods}}},
      {"settlers", map.settlers.size()},
      {"players", players},
      {"conventions", conventionsJson(conventions(map))},
      {"landscape", landscapeJson(measureLandscape(map))},
      {"look", lookJson(measureLook(map))},
      {"fairness", fairnessJson(f)},
      {"teams", teamsJson(teams(f))},
  };
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace varnholt::inspect
