// Models for reading the converter's outputs back.
#pragma once

#include "Models.h"

namespace zelvane::test {

// A boat of textured and untextured, flat and smooth polygons: texture names
// with blanks and XML markup characters, two vertices at one position with
// different normals, a texture number outside the table, and polygons of
// five and of no corners, which the converter skips.
Mag5ModelSpec shipModel();

// Two models meant for one command line. Each numbers its vertices from 0
// and has its own texture table: "deck.pcx" is texture 1 of the pier and
// texture 0 of the boat.
Mag5ModelSpec pierModel();
Mag5ModelSpec boatModel();

}  // namespace zelvane::test
