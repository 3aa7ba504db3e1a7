#include "MeshStore.h"

namespace zelvane {

void MeshStore::reserve(size_t vertexCount, size_t polygonCount) {
    const size_t positionCount = positions.size();
    positions.reserve(positionCount + vertexCount);
    positionNormal_.reserve(positionNormal_.size() + vertexCount);
    polygons.reserve(polygons.size() + polygonCount);
}

uint32_t MeshStore::addTexture(std::string_view name) {
    auto [entry, inserted] =
        textureLookup_.try_emplace(std::string(name), static_cast<uint32_t>(textures.size()));
    if (inserted) {
        textures.emplace_back(name);
    }
    return entry->second;
}

uint32_t MeshStore::addVertex(const Vector3& position, const Vector3& normal) {
    positionNormal_.push_back(normalLookup_.findOrAppend(normals, normal));
    positions.push_back(position);
    return static_cast<uint32_t>(positions.size() - 1);
}

uint32_t MeshStore::vertexNormal(uint32_t vertex) const {
    return vertex < positionNormal_.size() ? positionNormal_[vertex] : vertex;
}

template <size_t N>
uint32_t MeshStore::addPolygon(const std::array<uint32_t, N>& vertex, const Material& material,
                               const std::array<double, N>& u, const std::array<double, N>& v,
                               const std::array<Vector3, N>* cornerNormals) {
    Polygon polygon;
    polygon.cornerCount = N;
    polygon.material = material;
    for (size_t corner = 0; corner < N; ++corner) {
        polygon.vertex[corner] = vertex[corner];
        if (material.textured()) {
            polygon.texcoord[corner] = texcoordLookup_.findOrAppend(texcoords, {u[corner], v[corner], 0.0});
        }
        if (cornerNormals != nullptr) {
            // Flat-shaded corners repeat one normal: look it up once.
            const bool sameAsPrevious = corner > 0 && (*cornerNormals)[corner] == (*cornerNormals)[corner - 1];
            polygon.normal[corner] = sameAsPrevious ? polygon.normal[corner - 1]
                                                    : normalLookup_.findOrAppend(normals, (*cornerNormals)[corner]);
        } else {
            polygon.normal[corner] = vertexNormal(vertex[corner]);
        }
    }
    polygons.push_back(polygon);
    return static_cast<uint32_t>(polygons.size() - 1);
}

uint32_t MeshStore::addTriangle(const std::array<uint32_t, 3>& vertex, const Material& material,
                                const std::array<double, 3>& u, const std::array<double, 3>& v,
                                const std::array<Vector3, 3>* cornerNormals) {
    return addPolygon(vertex, material, u, v, cornerNormals);
}

uint32_t MeshStore::addQuad(const std::array<uint32_t, 4>& vertex, const Material& material,
                            const std::array<double, 4>& u, const std::array<double, 4>& v,
                            const std::array<Vector3, 4>* cornerNormals) {
    return addPolygon(vertex, material, u, v, cornerNormals);
}

}  // namespace zelvane
