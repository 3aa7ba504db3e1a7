#pragma once

#include "text/TextBuffer.h"
#include "text/TextPieces.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Appends the OBJ face line of a polygon: "f", then per corner the one-based
// position/texcoord/normal indices (texcoord only when textured), each corner
// followed by a space, then "\n".
void appendFaceLine(TextBuffer& out, const Polygon& polygon);

// Adds the face lines of a group's polygons, in the group's order.
void addFaceLines(TextPieces& text, const PolygonList& polygons, const GroupPolygons& group);

}  // namespace zelvane
