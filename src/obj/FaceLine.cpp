#include "FaceLine.h"

#include "mesh/GroupWalk.h"

#include <algorithm>

namespace zelvane {

namespace {

// "f ", four corners of three indices with their separators, "\n".
constexpr size_t kMaxFaceLineSize = 2 + 4 * (3 * kMaxUnsignedChars + 3) + 1;

}  // namespace

void appendFaceLine(TextBuffer& out, const Polygon& polygon) {
    const bool textured = polygon.material.textured();
    const uint32_t cornerCount = std::min<uint32_t>(polygon.cornerCount, 4);
    char* p = out.beginWrite(kMaxFaceLineSize);
    *p++ = 'f';
    *p++ = ' ';
    for (uint32_t corner = 0; corner < cornerCount; ++corner) {
        p = writeUnsigned(p, uint64_t{polygon.vertex[corner]} + 1);
        *p++ = '/';
        if (textured) {
            p = writeUnsigned(p, uint64_t{polygon.texcoord[corner]} + 1);
        }
        *p++ = '/';
        p = writeUnsigned(p, uint64_t{polygon.normal[corner]} + 1);
        *p++ = ' ';
    }
    *p++ = '\n';
    out.endWrite(p);
}

void addFaceLines(TextPieces& text, const PolygonList& polygons, const GroupPolygons& group) {
    text.addLines(group.size(), [&polygons, &group](TextBuffer& out, size_t begin, size_t end) {
        forEachGroupPolygon(polygons, group, begin, end,
                            [&out](uint32_t, const Polygon& polygon) { appendFaceLine(out, polygon); });
    });
}

}  // namespace zelvane
