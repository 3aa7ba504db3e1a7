#include "FaceLine.h"

namespace zelvane {

void formatFaceLine(TextBuffer& out, const Polygon& polygon) {
    const bool textured = polygon.material.texture != 0;
    out.append("f ");
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        out.appendUnsigned(uint64_t{polygon.vertex[corner]} + 1);
        out.append('/');
        if (textured) {
            out.appendUnsigned(uint64_t{polygon.texcoord[corner]} + 1);
        }
        out.append('/');
        out.appendUnsigned(uint64_t{polygon.normal[corner]} + 1);
        out.append(' ');
    }
    out.append('\n');
}

}  // namespace zelvane
