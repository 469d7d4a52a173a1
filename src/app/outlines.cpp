#include "app/stages.h"

namespace varnholt::app {

void initLandscapeOutlines(model::Map&) {}

}  // namespace varnholt::app
