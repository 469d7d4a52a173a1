#include "app/stages.h"

namespace varnholt::app {

void initStacks(model::Map&, model::StartResourcesType) {}

}  // namespace varnholt::app
