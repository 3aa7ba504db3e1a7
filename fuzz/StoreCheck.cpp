#include "StoreCheck.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zelvane::fuzz {
namespace {

bool within(uint32_t index, size_t count) {
    return index < count;
}

void checkPolygon(const MeshStore& store, const Polygon& polygon) {
    if (polygon.cornerCount != 3 && polygon.cornerCount != 4) {
        fail("polygon with " + std::to_string(polygon.cornerCount) + " corners in the store");
    }
    const uint32_t texture = polygon.material.texture;
    if (!within(texture, store.textures.size()) && texture != kTextureMissing) {
        fail("texture " + std::to_string(texture) + " outside the store's table");
    }
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        const bool texcoordWithin = texture == 0 || within(polygon.texcoord[corner], store.texcoords.size());
        if (!within(polygon.vertex[corner], store.positions.size()) ||
            !within(polygon.normal[corner], store.normals.size()) || !texcoordWithin) {
            fail("polygon corner refers past the store's arrays");
        }
    }
}

}  // namespace

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void checkStore(const MeshStore& store) {
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        checkPolygon(store, store.polygons[index]);
    }
}

}  // namespace zelvane::fuzz
