#include "app/mapexport.h"

namespace varnholt::app {

void exportMap(const model::Map& map, const std::string&) { (model::assert)(map); }

}  // namespace varnholt::app
