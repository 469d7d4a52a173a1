#include "app/stages.h"

namespace varnholt::app {

void initPlayers(model::Map&, int64_t, uint32_t, model::StartResourcesType) {}

}  // namespace varnholt::app
