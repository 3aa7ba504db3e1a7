#include "MeshStore.h"

namespace zelvane {

namespace {

MemoryRegion spaceAfter(const LargeVector<uint32_t>& entries, size_t count) {
    return {entries.data() + entries.size(), count * sizeof(uint32_t)};
}

}  // namespace

void MeshStore::reserve(const StoreRoom& room, BackgroundPrefault& mapAhead) {
    // Below this many records a model is added before a thread would start.
    constexpr size_t kMapAheadFrom = 100000;
    positions.reserve(positions.size() + room.vertices);
    positionNormal_.reserve(positionNormal_.size() + room.vertices);
    positionTexcoord_.reserve(positionTexcoord_.size() + room.vertices);
    normals.reserve(normals.size() + room.vertices + room.polygons);
    normalIndex_.expect(normals.size() + room.vertices + room.polygons);
    texcoords.reserve(texcoords.size() + room.corners);
    texcoordIndex_.expect(texcoords.size() + room.corners);
    polygons.reserve(polygons.size() + room.polygons);
    if (room.vertices + room.polygons < kMapAheadFrom) {
        return;
    }
    std::vector<MemoryRegion> filled{positions.spaceFor(room.vertices), spaceAfter(positionNormal_, room.vertices),
                                     spaceAfter(positionTexcoord_, room.vertices)};
    for (const MemoryRegion& region : polygons.spaceFor(room.polygons)) {
        filled.push_back(region);
    }
    mapAhead.start(std::move(filled));
}

uint32_t MeshStore::addTexture(std::string_view name) {
    auto [entry, inserted] =
        textureLookup_.try_emplace(std::string(name), static_cast<uint32_t>(textures.size()));
    if (inserted) {
        textures.emplace_back(name);
    }
    return entry->second;
}

uint32_t MeshStore::findOrAppendNormal(const Vector3& normal, uint64_t hash) {
    return normalIndex_.findOrAppend(normals, normal, hash, [&](const Vector3& value) { normals.push_back(value); });
}

uint32_t MeshStore::findOrAppendTexcoord(const Vector3& texcoord, uint64_t hash) {
    return texcoordIndex_.findOrAppend(texcoords, texcoord, hash,
                                       [&](const Vector3& value) { texcoords.push_back(value); });
}

uint32_t MeshStore::addVertex(const Vector3& position, const Vector3& normal) {
    positionNormal_.push_back(findOrAppendNormal(normal, hashOf(normal)));
    positionTexcoord_.push_back(kNoTexcoord);
    positions.push_back(position);
    return static_cast<uint32_t>(positions.size() - 1);
}

uint32_t MeshStore::addPosition(const Vector3& position) {
    positionNormal_.push_back(kNoNormal);
    positionTexcoord_.push_back(kNoTexcoord);
    positions.push_back(position);
    return static_cast<uint32_t>(positions.size() - 1);
}

uint32_t MeshStore::vertexNormal(uint32_t vertex) const {
    return vertex < positionNormal_.size() ? positionNormal_[vertex] : vertex;
}

// The texture coordinate the vertex had last, if it is equal to texcoord.
bool MeshStore::findVertexTexcoord(uint32_t vertex, const Vector3& texcoord, uint32_t& index) const {
    if (vertex >= positionTexcoord_.size() || positionTexcoord_[vertex] == kNoTexcoord ||
        !(texcoords[positionTexcoord_[vertex]] == texcoord)) {
        return false;
    }
    index = positionTexcoord_[vertex];
    return true;
}

void MeshStore::prefetchPolygon(std::span<const uint32_t> vertex, std::span<const Vector3> cornerTexcoords,
                                const Vector3* faceNormal) const {
    for (size_t corner = 0; corner < cornerTexcoords.size(); ++corner) {
        uint32_t index = 0;
        if (!findVertexTexcoord(vertex[corner], cornerTexcoords[corner], index)) {
            texcoordIndex_.prefetch(hashOf(cornerTexcoords[corner]));
        }
    }
    if (faceNormal != nullptr) {
        normalIndex_.prefetch(hashOf(*faceNormal));
    }
}

// The texture coordinate indices of a textured polygon. A corner's texture
// coordinate is most often the one its vertex had last (smooth meshes keep
// one per vertex), which lies near the last polygons' data and is checked
// first. The lookups of the others land all over their table: their slots
// are fetched together, so that the cache misses overlap.
void MeshStore::addTexcoords(Polygon& polygon, const double* u, const double* v) {
    std::array<Vector3, 4> texcoord;
    std::array<uint64_t, 4> hash{};
    std::array<bool, 4> found{};
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        texcoord[corner] = {u[corner], v[corner], 0.0};
        found[corner] = findVertexTexcoord(polygon.vertex[corner], texcoord[corner], polygon.texcoord[corner]);
        if (!found[corner]) {
            hash[corner] = hashOf(texcoord[corner]);
            texcoordIndex_.prefetch(hash[corner]);
        }
    }
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        if (!found[corner]) {
            polygon.texcoord[corner] = findOrAppendTexcoord(texcoord[corner], hash[corner]);
            if (polygon.vertex[corner] < positionTexcoord_.size()) {
                positionTexcoord_[polygon.vertex[corner]] = polygon.texcoord[corner];
            }
        }
    }
}

// The normal indices of a polygon: its vertices' normals, or the ones given
// for its corners.
void MeshStore::addNormals(Polygon& polygon, const Vector3* cornerNormals) {
    for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
        if (cornerNormals == nullptr) {
            polygon.normal[corner] = vertexNormal(polygon.vertex[corner]);
        } else if (corner > 0 && cornerNormals[corner] == cornerNormals[corner - 1]) {
            polygon.normal[corner] = polygon.normal[corner - 1];  // flat shading repeats one normal
        } else {
            polygon.normal[corner] = findOrAppendNormal(cornerNormals[corner], hashOf(cornerNormals[corner]));
        }
    }
}

// The texture coordinate and normal indices of a polygon whose vertices and
// material are set.
void MeshStore::addCorners(Polygon& polygon, const double* u, const double* v, const Vector3* cornerNormals) {
    if (cornerNormals != nullptr) {
        normalIndex_.prefetch(hashOf(cornerNormals[0]));  // arrives while the texture coordinates are looked up
    }
    if (polygon.material.textured()) {
        addTexcoords(polygon, u, v);
    }
    addNormals(polygon, cornerNormals);
}

uint32_t MeshStore::addTriangle(const std::array<uint32_t, 3>& vertex, const Material& material,
                                const std::array<double, 3>& u, const std::array<double, 3>& v,
                                const std::array<Vector3, 3>* cornerNormals) {
    Polygon triangle{3, {vertex[0], vertex[1], vertex[2], 0}, {}, {}, material};
    addCorners(triangle, u.data(), v.data(), cornerNormals != nullptr ? cornerNormals->data() : nullptr);
    polygons.push_back(triangle);
    return static_cast<uint32_t>(polygons.size() - 1);
}

uint32_t MeshStore::addQuad(const std::array<uint32_t, 4>& vertex, const Material& material,
                            const std::array<double, 4>& u, const std::array<double, 4>& v,
                            const std::array<Vector3, 4>* cornerNormals) {
    Polygon quad{4, vertex, {}, {}, material};
    addCorners(quad, u.data(), v.data(), cornerNormals != nullptr ? cornerNormals->data() : nullptr);
    polygons.push_back(quad);
    return static_cast<uint32_t>(polygons.size() - 1);
}

}  // namespace zelvane
