#pragma once

#include "varnholt/look.h"

// How natural the starts look; the measures are declared in varnholt/look.h,
// this is the footprint they count farm spots by.
namespace varnholt::inspect {

// The footprint that stands for the largest buildings: the Roman farm, the
// largest of the farms.
inline constexpr const char* FARM_SPOT_KEY = "meta/buildings/roman/farm.xml";

}  // namespace varnholt::inspect
