#pragma once

#include "mag5writer/Mag5Writer.h"

namespace zelvane::tools {

// The sample model: a small brick house with a tiled roof, a chimney,
// windows, a door and a deck, on a patch of grass beside a water barrel and
// two trees. examples/house.mag holds it, written by make_sample_model.
Mag5ModelSpec sampleHouse();

}  // namespace zelvane::tools
