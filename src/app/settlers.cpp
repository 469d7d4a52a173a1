#include "app/stages.h"

namespace varnholt::app {

void initSettlers(model::Map&, model::StartResourcesType) {}

}  // namespace varnholt::app
