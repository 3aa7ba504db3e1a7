// MAG5 records written into a text buffer, field by field in little-endian
// order.
#pragma once

#include <cstdint>
#include <string_view>

#include "Mag5Vertices.h"
#include "text/TextBuffer.h"

namespace zelvane {

void appendMag5Header(TextBuffer& out, uint32_t textureCount);
// The name in a 32-byte field, NUL-padded; at most 32 bytes.
void appendMag5TextureName(TextBuffer& out, std::string_view name);
void appendMag5Counts(TextBuffer& out, uint32_t vertexCount, uint32_t polygonCount);
void appendMag5Vertex(TextBuffer& out, const Vector3& position, const Vector3& normal);

// What a polygon record holds beyond its corners' vertices.
struct Mag5PolygonLook {
    bool flat = false;
    Vector3 faceNormal;  // written only for a flat polygon
    std::array<uint8_t, 4> colour{};
    uint32_t textureIndex = 0;  // the file's number, 0xFFFFFFFF for none
};

// The record and its corner block: vertices, u and v per corner (v as the
// file counts it).
void appendMag5Polygon(TextBuffer& out, const Mag5PolygonLook& look, const Polygon& polygon,
                       const std::array<uint32_t, 4>& vertices, const std::array<float, 4>& u,
                       const std::array<float, 4>& v);

}  // namespace zelvane
