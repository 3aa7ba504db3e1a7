#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "LargeAllocator.h"
#include "Material.h"
#include "Polygon.h"
#include "PolygonList.h"
#include "Vector3.h"
#include "Vector3Index.h"

namespace zelvane {

// The polygon indices of one material group, in the order the polygons were added.
using GroupPolygons = std::vector<uint32_t>;
// Map entries never move, so the address of an entry names its group for the run.
using MaterialGroups = std::map<Material, GroupPolygons>;

// The one in-memory model: filled by the loader through the add operations,
// prepared for output by mergeDuplicates and groupByMaterial, then read by an
// exporter. Indices passed in are kept as given, never checked.
//
// Normals and texture coordinates are kept distinct as they are added: an
// equal entry that is already there is shared instead of appended. That is
// exactly what merging them afterwards would give (first occurrences, in
// order) without ever holding the duplicates; positions are merged by
// mergeDuplicates.
class MeshStore {
public:
    std::vector<std::string> textures{""};  // entry 0 is the empty name: no texture
    LargeVector<Vector3> positions;
    LargeVector<Vector3> normals;
    LargeVector<Vector3> texcoords;  // (u, v, 0.0)
    PolygonList polygons;
    MaterialGroups groups;  // empty until groupByMaterial

    // Index of the name in textures, appending it when it is new.
    uint32_t addTexture(std::string_view name);
    // The name of a texture number, "" for kTextureNone; nullptr for
    // kTextureMissing or any other number the store has no name for.
    const std::string* textureName(uint32_t texture) const {
        return texture < textures.size() ? &textures[texture] : nullptr;
    }
    // Appends a position, and the normal that goes with it unless an equal one
    // is there; returns the position's index.
    uint32_t addVertex(const Vector3& position, const Vector3& normal);
    // Appends a polygon; returns its index. Textured polygons (material.texture
    // not 0) get a texture coordinate per corner from u and v. With
    // cornerNormals each corner gets the normal given for it; without, each
    // corner uses the normal added together with its vertex.
    uint32_t addTriangle(const std::array<uint32_t, 3>& vertex, const Material& material,
                         const std::array<double, 3>& u, const std::array<double, 3>& v,
                         const std::array<Vector3, 3>* cornerNormals = nullptr);
    uint32_t addQuad(const std::array<uint32_t, 4>& vertex, const Material& material,
                     const std::array<double, 4>& u, const std::array<double, 4>& v,
                     const std::array<Vector3, 4>* cornerNormals = nullptr);

    // Makes room for vertexCount more vertices and polygonCount more
    // polygons, so that a large model is stored without regrowing.
    void reserve(size_t vertexCount, size_t polygonCount);

    // Collapses equal positions, keeping first occurrences in order, and
    // rewrites every polygon's vertex indices to match.
    void mergeDuplicates();
    // Files every polygon under its material, in material order, replacing
    // any earlier grouping.
    void groupByMaterial();

private:
    template <size_t N>
    uint32_t addPolygon(const std::array<uint32_t, N>& vertex, const Material& material,
                        const std::array<double, N>& u, const std::array<double, N>& v,
                        const std::array<Vector3, N>* cornerNormals);
    uint32_t vertexNormal(uint32_t vertex) const;

    std::unordered_map<std::string, uint32_t> textureLookup_{{"", 0}};
    LargeVector<uint32_t> positionNormal_;  // per position: the normal added with it
    Vector3Index normalLookup_;
    Vector3Index texcoordLookup_;
};

// The identifier of a material group: the address of its entry, unique and
// constant for the run.
inline uint64_t groupId(const MaterialGroups::value_type& group) {
    return reinterpret_cast<uintptr_t>(&group.first);
}

}  // namespace zelvane
