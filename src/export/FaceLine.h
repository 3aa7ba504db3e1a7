#pragma once

#include "TextBuffer.h"
#include "mesh/Polygon.h"

namespace zelvane {

// Appends the OBJ face line of a polygon: "f", then per corner the one-based
// position/texcoord/normal indices (texcoord only when textured), each corner
// followed by a space, then "\n".
void formatFaceLine(TextBuffer& out, const Polygon& polygon);

}  // namespace zelvane
