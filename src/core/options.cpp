#include <string>

#include "varnholt/model/error.h"
#include "varnholt/options.h"

namespace varnholt {

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
  } else {
    throw keyError("unknown option: " + std::string(name));
  }
}

}  // namespace varnholt
