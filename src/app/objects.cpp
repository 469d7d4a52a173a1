#include "app/stages.h"

namespace varnholt::app {

void initObjects(model::Map&) {}

}  // namespace varnholt::app
