#pragma once

#include "varnholt/landscape.h"
#include "varnholt/model/landscapetype.h"

// The map as a whole; the measure is declared in varnholt/landscape.h, these
// are the ground rules it counts by.
namespace varnholt::inspect {

// Moor and mud of every kind: the swamp class of the land.
bool isSwampGround(model::LandscapeType type);

// Ground nobody walks over: water and the inner parts of moor, mud and snow.
bool blocksWalking(model::LandscapeType type);

}  // namespace varnholt::inspect
