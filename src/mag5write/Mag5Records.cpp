#include "Mag5Records.h"

#include <bit>
#include <cstring>

#include "mag5/Mag5Format.h"

namespace zelvane {
namespace {

using namespace mag5;

void putU32(char* at, uint32_t value) {
    for (size_t k = 0; k < 4; ++k) {
        at[k] = static_cast<char>(value >> (8 * k) & 0xFF);
    }
}

void putU64(char* at, uint64_t value) {
    putU32(at, static_cast<uint32_t>(value));
    putU32(at + 4, static_cast<uint32_t>(value >> 32));
}

void putF32(char* at, float value) {
    putU32(at, std::bit_cast<uint32_t>(value));
}

// A record of size bytes, all zero but what fill puts in.
template <typename Fill>
void appendRecord(TextBuffer& out, size_t size, Fill fill) {
    char* record = out.beginWrite(size);
    std::memset(record, 0, size);
    fill(record);
    out.endWrite(record + size);
}

}  // namespace

void appendMag5Header(TextBuffer& out, uint32_t textureCount) {
    appendRecord(out, kMagicSize + kHeaderRestSize, [&](char* record) {
        putU32(record, kMagic);
        putU32(record + kMagicSize, textureCount);
    });
}

void appendMag5TextureName(TextBuffer& out, std::string_view name) {
    appendRecord(out, kTextureRecordSize,
                 [&](char* record) { std::memcpy(record, name.data(), std::min(name.size(), kTextureRecordSize)); });
}

void appendMag5Counts(TextBuffer& out, uint32_t vertexCount, uint32_t polygonCount) {
    appendRecord(out, kCountsSize, [&](char* record) {
        putU32(record, vertexCount);
        putU32(record + 4, polygonCount);
    });
}

void appendMag5Vertex(TextBuffer& out, const Vector3& position, const Vector3& normal) {
    appendRecord(out, kVertexRecordSize, [&](char* record) {
        const double values[] = {position.x, position.y, position.z, normal.x, normal.y, normal.z};
        for (size_t k = 0; k < 6; ++k) {
            putF32(record + kVertexPositionOffset + 4 * k, static_cast<float>(values[k]));
        }
    });
}

void appendMag5Polygon(TextBuffer& out, const Mag5PolygonLook& look, const Polygon& polygon,
                       const std::array<uint32_t, 4>& vertices, const std::array<float, 4>& u,
                       const std::array<float, 4>& v) {
    const uint32_t n = polygon.cornerCount;
    appendRecord(out, kPolygonRecordSize + cornerBlockSize(n), [&](char* record) {
        putU32(record + kPolygonFlagsOffset, look.flat ? kFlatShadedFlag : 0);
        if (look.flat) {
            putU64(record + kPolygonFaceNormalOffset, std::bit_cast<uint64_t>(look.faceNormal.x));
            putU64(record + kPolygonFaceNormalOffset + 8, std::bit_cast<uint64_t>(look.faceNormal.y));
            putU64(record + kPolygonFaceNormalOffset + 16, std::bit_cast<uint64_t>(look.faceNormal.z));
        }
        std::memcpy(record + kPolygonColourOffset, look.colour.data(), look.colour.size());
        putU32(record + kPolygonTextureIndexOffset, look.textureIndex);
        putU32(record + kPolygonCornerCountOffset, n);
        char* corners = record + kPolygonRecordSize;
        for (uint32_t k = 0; k < n; ++k) {
            putU32(corners + 4 * k, vertices[k]);
            putF32(corners + 4 * (n + k), u[k]);
            putF32(corners + 4 * (2 * n + k), v[k]);
        }
    });
}

}  // namespace zelvane
