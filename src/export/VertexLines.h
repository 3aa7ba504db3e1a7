#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include "TextBuffer.h"
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

// Appends the vertex lines of an OBJ body: all positions ("v"), then all
// texture coordinates ("vt"), then all normals ("vn"), calling afterLine
// after each line so that a file can take the text as it grows.
template <typename AfterLine>
void appendVertexLines(TextBuffer& out, const MeshStore& store, AfterLine afterLine) {
    const auto appendAll = [&](std::string_view tag, const auto& vectors) {
        for (size_t index = 0; index < vectors.size(); ++index) {
            appendVectorLine(out, tag, vectors[index]);
            afterLine();
        }
    };
    appendAll("v ", store.positions);
    appendAll("vt ", store.texcoords);
    appendAll("vn ", store.normals);
}

}  // namespace zelvane
