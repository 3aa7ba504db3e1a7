#pragma once

#include <algorithm>
#include <string_view>

#include "text/TextBuffer.h"
#include "text/TextPieces.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Appends "<tag> x y z\n" with each coordinate as printf "%lf" prints it.
inline void appendVectorLine(TextBuffer& out, std::string_view tag, const Vector3& vector) {
    char* p = out.beginWrite(tag.size() + 3 * (kMaxFixed6Chars + 1));
    p = std::copy(tag.begin(), tag.end(), p);
    p = writeFixed6(p, vector.x);
    *p++ = ' ';
    p = writeFixed6(p, vector.y);
    *p++ = ' ';
    p = writeFixed6(p, vector.z);
    *p++ = '\n';
    out.endWrite(p);
}

// Adds the vertex lines of an OBJ body: all positions ("v"), then all
// texture coordinates ("vt"), then all normals ("vn").
inline void addVertexLines(TextPieces& text, const MeshStore& store) {
    const auto addAll = [&](std::string_view tag, const auto& vectors) {
        text.addLines(vectors.size(), [tag, &vectors](TextBuffer& out, size_t begin, size_t end) {
            for (size_t index = begin; index < end; ++index) {
                appendVectorLine(out, tag, vectors[index]);
            }
        });
    };
    addAll("v ", store.positions);
    addAll("vt ", store.texcoords);
    addAll("vn ", store.normals);
}

}  // namespace zelvane
