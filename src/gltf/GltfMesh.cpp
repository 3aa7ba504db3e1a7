#include "GltfMesh.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "GltfCornerIndex.h"
#include "GltfVertex.h"

namespace zelvane {
namespace {

// What a normal index tells about the corners that have it, besides
// polygon + 1 for a normal that only one polygon's corners have: such a
// corner can only meet its own polygon's corners again, and is told apart
// from them without the table of all corners. That is every corner of a
// flat-shaded model, whose face normals are all different.
constexpr uint32_t kUnusedNormal = 0;
constexpr uint32_t kNormalWithoutDirection = UINT32_MAX - 1;  // replaced per polygon: the polygon's own too
constexpr uint32_t kSharedNormal = UINT32_MAX;                 // corners of several polygons have it

// What the polygons hold, found going through them in store order, which
// reads the store's arrays front to back: at most this many corners and
// triangle indices.
struct PolygonSurvey {
    size_t corners = 0;
    size_t indices = 0;
};

// The bounds of the positions in use, as written.
void findBounds(const MeshStore& store, const std::vector<bool>& used, GltfMesh& mesh) {
    mesh.minimum.fill(std::numeric_limits<float>::infinity());
    mesh.maximum.fill(-std::numeric_limits<float>::infinity());
    for (size_t index = 0; index < used.size(); ++index) {
        if (used[index]) {
            const Vector3 position = store.positions[index];
            const std::array<float, 3> written{static_cast<float>(position.x), static_cast<float>(position.y),
                                               static_cast<float>(position.z)};
            for (size_t axis = 0; axis < 3; ++axis) {
                mesh.minimum[axis] = std::min(mesh.minimum[axis], written[axis]);
                mesh.maximum[axis] = std::max(mesh.maximum[axis], written[axis]);
            }
        }
    }
}

// Each normal's state as the polygons have it, and the counts of corners
// and triangle indices.
PolygonSurvey surveyPolygons(const MeshStore& store, LargeVector<uint32_t>& owner) {
    owner.resize(store.normals.size());
    for (size_t normal = 0; normal < owner.size(); ++normal) {
        owner[normal] = hasDirection(store.normals[normal]) ? kUnusedNormal : kNormalWithoutDirection;
    }
    PolygonSurvey survey;
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const Polygon polygon = store.polygons[index];
        const auto self = static_cast<uint32_t>(index + 1);
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            uint32_t& state = owner[polygon.normal[corner]];
            if (state == kUnusedNormal && self < kNormalWithoutDirection) {
                state = self;
            } else if (state != self && state != kNormalWithoutDirection) {
                state = kSharedNormal;
            }
        }
        survey.corners += polygon.cornerCount;
        survey.indices += polygon.cornerCount == 4 ? 6 : 3;
    }
    return survey;
}

class MeshBuilder {
public:
    MeshBuilder(const MeshStore& store, LargeVector<uint32_t> normalOwner, const PolygonSurvey& survey)
        : store_(store),
          normalOwner_(std::move(normalOwner)),
          corners_(store.positions.size(), survey.corners),
          used_(store.positions.size(), false) {
        mesh_.indices.resize(survey.indices);
    }

    GltfMesh build(const std::vector<bool>& mapped) {
        size_t group = 0;
        for (const auto& entry : store_.groups) {
            const bool groupMapped = group < mapped.size() && mapped[group++];
            GltfMesh::Primitive primitive{&entry, groupMapped, mesh_.checkpoints.size(), 0};
            const size_t start = filled_;
            size_t member = 0;
            forEachGroupPolygon(store_.polygons, entry.second, 0, entry.second.size(),
                                [&](uint32_t index, const Polygon& polygon) {
                if (member++ % GltfMesh::kCheckpointSpacing == 0) {
                    mesh_.checkpoints.push_back({mesh_.vertexCount, filled_});
                }
                addPolygon(index, polygon, groupMapped);
            });
            if (filled_ > start) {
                primitive.indicesEnd = filled_;
                mesh_.primitives.push_back(primitive);
                mesh_.textured = mesh_.textured || groupMapped;
            }
        }
        mesh_.indices.resize(filled_);
        mesh_.largestIndex = mesh_.vertexCount > 0 ? mesh_.vertexCount - 1 : 0;
        findBounds(store_, used_, mesh_);
        return std::move(mesh_);
    }

private:
    static constexpr uint32_t kNoVertex = UINT32_MAX;

    void addPolygon(uint32_t index, const Polygon& polygon, bool mapped) {
        const uint32_t kept = keptTriangles(polygon);
        if (kept == 0) {
            return;
        }
        uint32_t* out = mesh_.indices.data() + filled_;
        std::array<CornerKey, 4> keys;
        std::array<uint32_t, 4> vertices{kNoVertex, kNoVertex, kNoVertex, kNoVertex};
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            const size_t slot = cornerSlot(kept, corner);
            if (slot == kNoSlot) {
                continue;
            }
            keys[corner] = {polygon.vertex[corner], polygon.normal[corner],
                            mapped ? polygon.texcoord[corner] : CornerKey::kNoTexcoord};
            const uint32_t owner = normalOwner_[polygon.normal[corner]];
            vertices[corner] = owner == index + 1 || owner == kNormalWithoutDirection
                                   ? vertexInPolygon(keys, vertices, corner)
                                   : corners_.findOrAdd(keys[corner], mesh_.vertexCount);
            mesh_.vertexCount += vertices[corner] == mesh_.vertexCount ? 1 : 0;
            used_[polygon.vertex[corner]] = true;
            out[slot] = vertices[corner];
        }
        if (kept == kBothTriangles) {
            out[3] = vertices[0];
            out[4] = vertices[2];
        }
        filled_ += indexCountOf(kept);
        ++mesh_.polygonCount;
    }

    // The vertex of an earlier corner of the polygon with the same key, or
    // a new one.
    uint32_t vertexInPolygon(const std::array<CornerKey, 4>& keys, const std::array<uint32_t, 4>& vertices,
                             uint32_t corner) const {
        for (uint32_t earlier = 0; earlier < corner; ++earlier) {
            if (vertices[earlier] != kNoVertex && keys[earlier] == keys[corner]) {
                return vertices[earlier];
            }
        }
        return mesh_.vertexCount;
    }

    const MeshStore& store_;
    LargeVector<uint32_t> normalOwner_;  // per normal: kSharedNormal, the one polygon + 1, ...
    CornerIndex corners_;
    std::vector<bool> used_;  // per position: some written corner has it
    GltfMesh mesh_;
    size_t filled_ = 0;
};

}  // namespace

GltfMesh buildGltfMesh(const MeshStore& store, const std::vector<bool>& mapped) {
    LargeVector<uint32_t> normalOwner;
    const PolygonSurvey survey = surveyPolygons(store, normalOwner);
    return MeshBuilder(store, std::move(normalOwner), survey).build(mapped);
}

}  // namespace zelvane
