#include "varnholt/options.h"

#include <string>

#include "varnholt/model/error.h"

namespace varnholt {

namespace {

// Sets the style option called name; false for a name that is none.
bool setStyleOption(model::MapStyle& style, std::string_view name, std::string_view text) {
  if (name == "landscape") {
    style.landscape = model::parseLandscape(text);
  } else if (name == "climate") {
    style.climate = model::parseClimate(text);
  } else if (name == "water") {
    style.waterPercent = model::parsePercent("--water", text);
  } else if (name == "mountains") {
    style.mountainPercent = model::parsePercent("--mountains", text);
  } else if (name == "resources") {
    style.resources = model::parseResourceAmount(text);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void setOption(GenerateOptions& options, std::string_view name, std::string_view text) {
  if (name == "seed") {
    options.seed = parseInteger(text);
  } else if (name == "size") {
    options.size = parseInteger(text);
  } else if (name == "playerCount") {
    options.playerCount = parseInteger(text);
  } else if (name == "startGoods") {
    options.startGoods = model::getStartResourcesTypeFromKey(text);
  } else if (name == "starts") {
    if (text == "classic") {
      options.mode = StartMode::CLASSIC;
    } else if (text == "fair") {
      options.mode = StartMode::FAIR;
    } else if (text == "symmetric") {
      options.mode = StartMode::SYMMETRIC;
    } else {
      throw exception("invalid starts: " + std::string(text));
    }
  } else if (name == "teams") {
    const model::Teams teams = model::parseTeams(text);
    options.style.teams = teams;
    options.playerCount = model::teamPlayerCount(teams);
    if (options.mode == StartMode::CLASSIC) options.mode = StartMode::FAIR;
  } else if (!setStyleOption(options.style, name, text)) {
    throw keyError("unknown option: " + std::string(name));
  } else if (options.mode == StartMode::CLASSIC) {
    options.mode = StartMode::FAIR;
  }
}

}  // namespace varnholt
