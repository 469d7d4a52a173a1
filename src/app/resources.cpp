#include "app/stages.h"

namespace varnholt::app {

void initResources(model::Map&) {}

}  // namespace varnholt::app
