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
// reads the store's arrays front to back: at most this many corners, the
// triangle indices written, and the bounds of the positions they use.
struct PolygonSurvey {
    size_t corners = 0;
    size_t indices = 0;
    bool everyTriangleKept = true;
    std::array<float, 3> minimum{};
    std::array<float, 3> maximum{};
};

// The bounds of the positions in use, as written.
void findBounds(const MeshStore& store, const std::vector<bool>& used, PolygonSurvey& survey) {
    survey.minimum.fill(std::numeric_limits<float>::infinity());
    survey.maximum.fill(-std::numeric_limits<float>::infinity());
    for (size_t index = 0; index < used.size(); ++index) {
        if (used[index]) {
            const Vector3 position = store.positions[index];
            const std::array<float, 3> written{static_cast<float>(position.x), static_cast<float>(position.y),
                                               static_cast<float>(position.z)};
            for (size_t axis = 0; axis < 3; ++axis) {
                survey.minimum[axis] = std::min(survey.minimum[axis], written[axis]);
                survey.maximum[axis] = std::max(survey.maximum[axis], written[axis]);
            }
        }
    }
}

// Each normal's state as the polygons have it, the counts of corners and
// triangle indices, and the bounds of the positions of written corners.
PolygonSurvey surveyPolygons(const MeshStore& store, LargeVector<uint32_t>& owner) {
    owner.resize(store.normals.size());
    for (size_t normal = 0; normal < owner.size(); ++normal) {
        owner[normal] = hasDirection(store.normals[normal]) ? kUnusedNormal : kNormalWithoutDirection;
    }
    PolygonSurvey survey;
    std::vector<bool> used(store.positions.size(), false);
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const Polygon polygon = store.polygons[index];
        const auto self = static_cast<uint32_t>(index + 1);
        const uint32_t kept = keptTriangles(polygon);
        const bool whole = kept == allTrianglesOf(polygon);
        survey.everyTriangleKept = survey.everyTriangleKept && whole;
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            uint32_t& state = owner[polygon.normal[corner]];
            if (state == kUnusedNormal && self < kNormalWithoutDirection) {
                state = self;
            } else if (state != self && state != kNormalWithoutDirection) {
                state = kSharedNormal;
            }
            if (whole || cornerSlot(kept, corner) != kNoSlot) {
                used[polygon.vertex[corner]] = true;
            }
        }
        survey.corners += polygon.cornerCount;
        survey.indices += indexCountOf(kept);
    }
    findBounds(store, used, survey);
    return survey;
}

class MeshBuilder {
public:
    MeshBuilder(const MeshStore& store, LargeVector<uint32_t> normalOwner, const PolygonSurvey& survey)
        : store_(store),
          normalOwner_(std::move(normalOwner)),
          corners_(store.positions.size(), survey.corners) {
        mesh_.indices.resize(survey.indices);
        mesh_.minimum = survey.minimum;
        mesh_.maximum = survey.maximum;
        mesh_.everyTriangleKept = survey.everyTriangleKept;
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
        mesh_.largestIndex = mesh_.vertexCount > 0 ? mesh_.vertexCount - 1 : 0;
        return std::move(mesh_);
    }

private:
    static constexpr uint32_t kNoVertex = UINT32_MAX;

    void addPolygon(uint32_t index, const Polygon& polygon, bool mapped) {
        const uint32_t kept = keptTrianglesIn(mesh_, polygon);
        if (kept == 0) {
            return;
        }
        const bool whole = kept == allTrianglesOf(polygon);
        std::array<CornerKey, 4> keys;
        std::array<uint32_t, 4> vertices{kNoVertex, kNoVertex, kNoVertex, kNoVertex};
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            if (!whole && cornerSlot(kept, corner) == kNoSlot) {
                continue;
            }
            keys[corner] = {polygon.vertex[corner], polygon.normal[corner],
                            mapped ? polygon.texcoord[corner] : CornerKey::kNoTexcoord};
            const uint32_t owner = normalOwner_[polygon.normal[corner]];
            vertices[corner] = owner == index + 1 || owner == kNormalWithoutDirection
                                   ? vertexInPolygon(keys, vertices, corner)
                                   : corners_.findOrAdd(keys[corner], mesh_.vertexCount);
            mesh_.vertexCount += vertices[corner] == mesh_.vertexCount ? 1 : 0;
        }
        writeTriangles(kept, vertices);
        ++mesh_.polygonCount;
    }

    // The kept triangles' indices: (0, 1, 2) and then (0, 2, 3).
    void writeTriangles(uint32_t kept, const std::array<uint32_t, 4>& vertices) {
        uint32_t* out = mesh_.indices.data() + filled_;
        if ((kept & 1) != 0) {
            out[0] = vertices[0];
            out[1] = vertices[1];
            out[2] = vertices[2];
            out += 3;
        }
        if ((kept & 2) != 0) {
            out[0] = vertices[0];
            out[1] = vertices[2];
            out[2] = vertices[3];
        }
        filled_ += indexCountOf(kept);
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
