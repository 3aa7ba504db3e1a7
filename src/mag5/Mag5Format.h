// Sizes and field offsets of the MAG5 model file. All fields are
// little-endian and packed without gaps:
//   header (12) | texture records (32 each) | counts (8) |
//   vertex records (28 each) | per polygon: record (68) + corner block (12n + 16)
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvane::mag5 {

inline constexpr uint32_t kMagic = 0x3547414D;  // "MAG5" in file order

inline constexpr size_t kMagicSize = 4;
inline constexpr size_t kHeaderRestSize = 8;  // textureCount, headerReserved
inline constexpr size_t kTextureRecordSize = 32;
inline constexpr size_t kCountsSize = 8;  // vertexCount, polygonCount
inline constexpr size_t kVertexRecordSize = 28;
inline constexpr size_t kPolygonRecordSize = 68;

// Vertex record: position xyz then vertex normal xyz, f32 each, then 4 reserved bytes.
inline constexpr size_t kVertexPositionOffset = 0;
inline constexpr size_t kVertexNormalOffset = 12;

// Polygon record.
inline constexpr size_t kPolygonFlagsOffset = 0;
inline constexpr size_t kPolygonFaceNormalOffset = 24;  // three f64
inline constexpr size_t kPolygonColourOffset = 56;      // four bytes: r, g, b, fourth
inline constexpr size_t kPolygonTextureIndexOffset = 60;
inline constexpr size_t kPolygonCornerCountOffset = 64;

inline constexpr uint32_t kFlatShadedFlag = 1;

// Corner block of n corners: vertex indices, u values, v values (4n bytes each),
// then tailA and tailB (two u32 each). Word 1 of each tail counts as render state.
inline constexpr size_t kCornerSize = 12;
constexpr uint64_t cornerBlockSize(uint64_t cornerCount) {
    return kCornerSize * cornerCount + 16;
}
constexpr size_t tailAWord1Offset(size_t cornerCount) {
    return 12 * cornerCount + 4;
}
constexpr size_t tailBWord1Offset(size_t cornerCount) {
    return 12 * cornerCount + 12;
}

}  // namespace zelvane::mag5
