// Random models for the round trips through OBJ and glTF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Models.h"

namespace zelvane::test {

// A model drawn from seed: up to a few dozen vertices at random positions
// (some sharing one), triangles and quads over them that may name a vertex
// twice, smooth or flat, with any colour bytes, textured with one of a few
// textures (names up to 32 bytes, with folders) or untextured, and texture
// coordinates anywhere in [-2, 2]. Normals are unit length, as glTF keeps
// them: their own normalization in floats gives them back.
Mag5ModelSpec randomRoundTripModel(uint32_t seed);

}  // namespace zelvane::test
