#include "app/stages.h"

namespace varnholt::app {

void initRivers(model::Map&) {}

}  // namespace varnholt::app
