#include "GltfBufferWriter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "GltfBytes.h"
#include "GltfVertex.h"
#include "text/TextPieces.h"

namespace zelvane {
namespace {

constexpr size_t kIndicesPerWrite = size_t{1} << 16;

void writeZeros(OutputFile& file, size_t count) {
    if (count > 0) {
        char* out = file.text().beginWrite(count);
        std::memset(out, 0, count);
        file.text().endWrite(out + count);
    }
}

void padToFour(OutputFile& file, size_t length) {
    writeZeros(file, paddedToFour(length) - length);
}

void appendVertex(TextBuffer& out, const GltfVertex& vertex, size_t stride) {
    char* bytes = out.beginWrite(stride);
    std::memcpy(bytes + GltfBufferLayout::kPositionOffset, vertex.position.data(), sizeof vertex.position);
    std::memcpy(bytes + GltfBufferLayout::kNormalOffset, vertex.normal.data(), sizeof vertex.normal);
    if (stride > GltfBufferLayout::kTexcoordOffset) {
        std::memcpy(bytes + GltfBufferLayout::kTexcoordOffset, vertex.texcoord.data(), sizeof vertex.texcoord);
    }
    out.endWrite(bytes + stride);
}

// Going through one primitive's corners in the mesh's order: each vertex
// is written where its corner first comes, which is where its index is the
// next one.
class PrimitiveVertices {
public:
    PrimitiveVertices(const MeshStore& store, const GltfMesh& mesh, const GltfMesh::Primitive& primitive)
        : store_(store), mesh_(mesh), primitive_(primitive), members_(primitive.group->second) {}

    // Appends the vertices first met in the group's polygons [begin, end).
    void appendVertices(TextBuffer& out, size_t begin, size_t end, size_t stride) const {
        Cursor cursor = cursorAt(begin);
        forEachGroupPolygon(store_.polygons, members_, begin, end, [&](uint32_t, const Polygon& polygon) {
            const uint32_t kept = keptTrianglesIn(mesh_, polygon);
            PolygonVertices vertices(store_, polygon, primitive_.mapped);
            for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
                if (isNewVertex(cursor, kept, corner)) {
                    appendVertex(out, vertices.vertexOf(corner), stride);
                    ++cursor.nextVertex;
                }
            }
            cursor.firstIndex += indexCountOf(kept);
        });
    }

private:
    using Cursor = GltfMesh::Checkpoint;

    bool isNewVertex(const Cursor& cursor, uint32_t kept, uint32_t corner) const {
        const size_t slot = cornerSlot(kept, corner);
        return slot != kNoSlot && mesh_.indices[cursor.firstIndex + slot] == cursor.nextVertex;
    }

    // Where the numbering stands at the group's polygon member: from the
    // checkpoint before it, over the polygons in between.
    Cursor cursorAt(size_t member) const {
        const size_t checkpoint = member / GltfMesh::kCheckpointSpacing;
        Cursor cursor = mesh_.checkpoints[primitive_.firstCheckpoint + checkpoint];
        for (size_t k = checkpoint * GltfMesh::kCheckpointSpacing; k < member; ++k) {
            const Polygon polygon = store_.polygons[members_[k]];
            const uint32_t kept = keptTrianglesIn(mesh_, polygon);
            for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
                cursor.nextVertex += isNewVertex(cursor, kept, corner) ? 1 : 0;
            }
            cursor.firstIndex += indexCountOf(kept);
        }
        return cursor;
    }

    const MeshStore& store_;
    const GltfMesh& mesh_;
    const GltfMesh::Primitive& primitive_;
    const GroupPolygons& members_;
};

void writeShortIndices(OutputFile& file, const uint32_t* indices, size_t count) {
    for (size_t done = 0; done < count;) {
        const size_t batch = std::min(kIndicesPerWrite, count - done);
        char* out = file.text().beginWrite(2 * batch);
        for (size_t k = 0; k < batch; ++k) {
            const auto index = static_cast<uint16_t>(indices[done + k]);
            std::memcpy(out + 2 * k, &index, 2);
        }
        file.text().endWrite(out + 2 * batch);
        file.flushIfLarge();
        done += batch;
    }
}

void writeIndices(OutputFile& file, const GltfMesh& mesh, bool shortIndices) {
    size_t start = 0;
    for (const GltfMesh::Primitive& primitive : mesh.primitives) {
        const size_t end = primitive.indicesEnd;
        const uint32_t* indices = mesh.indices.data() + start;
        if (shortIndices) {
            writeShortIndices(file, indices, end - start);
            padToFour(file, 2 * (end - start));
        } else {
            file.write(std::string_view(reinterpret_cast<const char*>(indices), 4 * (end - start)));
        }
        start = end;
    }
}

}  // namespace

void addVertexPieces(TextPieces& pieces, const MeshStore& store, const GltfMesh& mesh, size_t stride) {
    for (const GltfMesh::Primitive& primitive : mesh.primitives) {
        pieces.addLines(primitive.group->second.size(),
                        [vertices = PrimitiveVertices(store, mesh, primitive), stride](TextBuffer& out, size_t begin,
                                                                                        size_t end) {
                            vertices.appendVertices(out, begin, end, stride);
                        });
    }
}

void writeGltfBuffer(OutputFile& file, const MeshStore& store, const GltfMesh& mesh, const GltfImages& images,
                     const GltfBufferLayout& layout) {
    TextPieces vertices;
    addVertexPieces(vertices, store, mesh, layout.vertexStride);
    vertices.write([&](std::string_view bytes) { file.write(bytes); });
    writeIndices(file, mesh, layout.shortIndices);
    for (size_t image = 0; image < layout.images.size(); ++image) {
        const std::vector<uint8_t>& bytes = images.files[image]->bytes();
        file.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        padToFour(file, bytes.size());
    }
}

}  // namespace zelvane
