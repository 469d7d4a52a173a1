#include "app/stages.h"

namespace varnholt::app {

void initHighmapLandscape(model::Map&) {}

}  // namespace varnholt::app
