#include "MeshStore.h"

namespace zelvane {

void MeshStore::reserve(const StoreRoom& room) {
    positions.reserve(positions.size() + room.vertices);
    positionNormal_.reserve(positionNormal_.size() + room.vertices);
    normals.reserve(normals.size() + room.vertices + room.polygons);
    texcoords.reserve(texcoords.size() + room.corners);
    polygons.reserve(polygons.size() + room.polygons);
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
    positions.push_back(position);
    return static_cast<uint32_t>(positions.size() - 1);
}

uint32_t MeshStore::vertexNormal(uint32_t vertex) const {
    return vertex < positionNormal_.size() ? positionNormal_[vertex] : vertex;
}

// The texture coordinate and normal indices of a polygon whose vertices and
// material are set. The lookups of a large model land all over their tables:
// the slots of all corners are fetched first, so that they arrive together.
void MeshStore::addCorners(Polygon& polygon, const double* u, const double* v, const Vector3* cornerNormals) {
    const uint32_t cornerCount = polygon.cornerCount;
    std::array<Vector3, 4> texcoord;
    std::array<uint64_t, 4> texcoordHash{};
    if (polygon.material.textured()) {
        for (uint32_t corner = 0; corner < cornerCount; ++corner) {
            texcoord[corner] = {u[corner], v[corner], 0.0};
            texcoordHash[corner] = hashOf(texcoord[corner]);
            texcoordIndex_.prefetch(texcoordHash[corner]);
        }
    }
    const uint64_t normalHash = cornerNormals != nullptr ? hashOf(cornerNormals[0]) : 0;
    normalIndex_.prefetch(normalHash);
    for (uint32_t corner = 0; corner < cornerCount; ++corner) {
        if (polygon.material.textured()) {
            polygon.texcoord[corner] = findOrAppendTexcoord(texcoord[corner], texcoordHash[corner]);
        }
        if (cornerNormals == nullptr) {
            polygon.normal[corner] = vertexNormal(polygon.vertex[corner]);
        } else if (corner == 0) {
            polygon.normal[0] = findOrAppendNormal(cornerNormals[0], normalHash);
        } else if (cornerNormals[corner] == cornerNormals[corner - 1]) {
            polygon.normal[corner] = polygon.normal[corner - 1];  // flat shading repeats one normal
        } else {
            polygon.normal[corner] = findOrAppendNormal(cornerNormals[corner], hashOf(cornerNormals[corner]));
        }
    }
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
