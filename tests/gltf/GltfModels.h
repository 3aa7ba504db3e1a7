// Models for the glTF tests, each making the writer take a path of its own.
#pragma once

#include <cstdint>

#include "Models.h"

namespace zelvane::test {

// A rolling surface over a grid of columns x rows cells, quads with a
// triangle pair in every third cell, textured with "grass.pcx" and
// "rock.pcx" and partly untextured. Smooth: a normal per vertex, shared by
// the polygons around it, and a texture coordinate per vertex. Flat: a
// face normal per polygon.
Mag5ModelSpec surfaceModel(bool flat, uint32_t columns, uint32_t rows);

// At least minimumVertices distinct corners: flat triangles over a grid of
// shared positions, each with a face normal of its own.
Mag5ModelSpec manyVerticesModel(uint32_t minimumVertices);

// A fan of smooth triangles around one vertex, each giving it a texture
// coordinate of its own: far more distinct corners at one position than at
// any other.
Mag5ModelSpec fanModel(uint32_t blades);

// Normals without a direction: zero and NaN vertex normals, zero and NaN
// face normals, and a polygon whose corners lie on a line.
Mag5ModelSpec directionlessNormalsModel();

// A small model of the kind game files are, drawn from seed: a few
// vertices on a coarse lattice, so that some share a position, and
// triangles and quads over them that may name one vertex twice, smooth or
// flat, textured with "a.png" or "missing.pcx" or untextured, in a few
// colours.
Mag5ModelSpec randomModel(uint32_t seed);

}  // namespace zelvane::test
