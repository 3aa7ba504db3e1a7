#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "CompactArray.h"
#include "os/LargeAllocator.h"
#include "Material.h"
#include "Polygon.h"
#include "PolygonList.h"
#include "os/Prefault.h"
#include "ValueIndex.h"
#include "Vector3.h"

namespace zelvane {

// The polygon indices of one material group, in the order the polygons were added.
using GroupPolygons = LargeVector<uint32_t>;
// Map entries never move, so the address of an entry names its group for the run.
using MaterialGroups = std::map<Material, GroupPolygons>;

// What a model file is about to add to the store, as far as its size can
// hold it: the arrays make room for it at once and do not grow while
// loading. (The lookup tables of normals and texture coordinates grow with
// the distinct values instead, up to the size for these counts: models
// repeat most values, and a table sized for every corner would be mostly
// empty memory, which costs time to map.)
struct StoreRoom {
    size_t vertices = 0;
    size_t polygons = 0;
    size_t corners = 0;
};

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
    Vector3Array positions;
    Vector3Array normals;
    TexcoordArray texcoords;  // (u, v, 0.0)
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
    // Appends a position that comes without a normal of its own, as in
    // formats that keep normals apart from positions; returns its index. A
    // polygon over such positions must give its corners' normals.
    uint32_t addPosition(const Vector3& position);
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

    // Whether the lookup tables of normals and texture coordinates have
    // reached 1 MiB together, too much to stay in the processor's nearest
    // caches, so that fetching their slots ahead pays.
    bool lookupsOutgrowCache() const {
        constexpr size_t kCacheBytes = size_t{1} << 20;
        return normalIndex_.bytes() + texcoordIndex_.bytes() >= kCacheBytes;
    }
    // Fetch into the cache the table slots that adding a vertex with this
    // normal, or a polygon with these corners, will look up, so that a
    // loader can overlap the cache misses of several records.
    // cornerTexcoords is empty for an untextured polygon, faceNormal null
    // unless the corners share it.
    // Nothing changes: any index or value is safe.
    void prefetchVertex(const Vector3& normal) const { normalIndex_.prefetch(hashOf(normal)); }
    void prefetchPolygon(std::span<const uint32_t> vertex, std::span<const Vector3> cornerTexcoords,
                         const Vector3* faceNormal) const;

    // Makes room for what is about to be added: the vertices, the polygons
    // with a face normal each, and their corners. For a large model,
    // mapAhead maps the memory that adding the vertices and polygons will
    // surely fill while the caller adds them; it must be finished before the
    // store changes otherwise.
    void reserve(const StoreRoom& room, BackgroundPrefault& mapAhead);

    // Collapses equal positions, keeping first occurrences in order, and
    // rewrites every polygon's vertex indices to match. Adding is over: the
    // memory that served it goes.
    void mergeDuplicates();
    // Files every polygon under its material, in material order, replacing
    // any earlier grouping.
    void groupByMaterial();
    // Both of the above, in that order. A large model is grouped on a second
    // thread while its positions are merged: grouping reads only the
    // polygons' materials, which merging leaves alone.
    void mergeAndGroup();

private:
    void addCorners(Polygon& polygon, const double* u, const double* v, const Vector3* cornerNormals);
    void addTexcoords(Polygon& polygon, const double* u, const double* v);
    void addNormals(Polygon& polygon, const Vector3* cornerNormals);
    bool findVertexTexcoord(uint32_t vertex, const Vector3& texcoord, uint32_t& index) const;
    uint32_t findOrAppendNormal(const Vector3& normal, uint64_t hash);
    uint32_t findOrAppendTexcoord(const Vector3& texcoord, uint64_t hash);
    uint32_t vertexNormal(uint32_t vertex) const;

    std::unordered_map<std::string, uint32_t> textureLookup_{{"", 0}};
    static constexpr uint32_t kNoTexcoord = UINT32_MAX;
    static constexpr uint32_t kNoNormal = UINT32_MAX;
    LargeVector<uint32_t> positionNormal_;    // per position: the normal added with it
    LargeVector<uint32_t> positionTexcoord_;  // per position: the texture coordinate it had last
    ValueIndex<Vector3Array> normalIndex_;
    ValueIndex<TexcoordArray> texcoordIndex_;
};

// The identifier of a material group: the address of its entry, unique and
// constant for the run.
inline uint64_t groupId(const MaterialGroups::value_type& group) {
    return reinterpret_cast<uintptr_t>(&group.first);
}

}  // namespace zelvane
