#include "Mag5Loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "ByteReader.h"
#include "Mag5Format.h"
#include "bytes/LittleEndian.h"
#include "os/Prefault.h"

namespace zelvane {
namespace {

using namespace mag5;

constexpr double kColourScale = 0.00392156862745098;  // the double closest to 1/255

// The words whose change between consecutive triangles or quads counts as a
// change of render state.
struct RenderState {
    uint32_t textureIndex = 0;
    uint32_t flags = 0;
    uint32_t tailBWord1 = 0;
    uint32_t tailAWord1 = 0;
    bool operator==(const RenderState&) const = default;
};

LoadError endsEarly(std::string_view where) {
    return {LoadFailure::kCutShort, "file ends early (inside " + std::string(where) + ")"};
}

std::string numbered(std::string_view what, uint32_t index) {
    return std::string(what) + " " + std::to_string(index);
}

Vector3 readVector3F32(const uint8_t* bytes) {
    return {decodeF32(bytes), decodeF32(bytes + 4), decodeF32(bytes + 8)};
}

Vector3 readVector3F64(const uint8_t* bytes) {
    return {decodeF64(bytes), decodeF64(bytes + 8), decodeF64(bytes + 16)};
}

// A corner's texture coordinate from a corner block, as the store keeps it:
// the file's v runs downwards, the store's upwards.
double cornerU(const uint8_t* corners, size_t cornerCount, size_t corner) {
    return decodeF32(corners + 4 * cornerCount + 4 * corner);
}
double cornerV(const uint8_t* corners, size_t cornerCount, size_t corner) {
    return 1.0 - static_cast<double>(decodeF32(corners + 8 * cornerCount + 4 * corner));
}

class Mag5Loader {
public:
    Mag5Loader(mag5::ByteReader& reader, MeshStore& store) : store_(store), reader_(reader) {}

    LoadResult load() {
        LoadResult result;
        result.error = readFile();
        result.report = report_;
        return result;
    }

private:
    LoadError readFile() {
        LoadError error = readHeader();
        if (!error) error = readTextures();
        if (!error) error = readCounts();
        if (!error) error = readVertices();
        if (!error) error = readPolygons();
        return error;
    }

    // A failed take or skip: the file ended, or could not be read at all.
    LoadError failure(std::string_view where) const {
        std::string reason = reader_.readError();
        return reason.empty() ? endsEarly(where) : LoadError{LoadFailure::kCannotRead, std::move(reason)};
    }

    LoadError readHeader() {
        const uint8_t* magic = reader_.take(kMagicSize);
        if (magic == nullptr || decodeU32(magic) != kMagic) {
            std::string reason = reader_.readError();
            return reason.empty() ? LoadError{LoadFailure::kNotMag5, "not a MAG5 file"}
                                  : LoadError{LoadFailure::kCannotRead, std::move(reason)};
        }
        const uint8_t* rest = reader_.take(kHeaderRestSize);
        if (rest == nullptr) {
            return failure("the header");
        }
        textureCount_ = decodeU32(rest);
        return {};
    }

    LoadError readTextures() {
        if (reader_.holds(textureCount_, kTextureRecordSize)) {
            fileTextures_.reserve(textureCount_);
        }
        for (uint32_t index = 0; index < textureCount_; ++index) {
            const uint8_t* record = reader_.take(kTextureRecordSize);
            if (record == nullptr) {
                return failure(numbered("texture name", index));
            }
            const auto* name = reinterpret_cast<const char*>(record);
            fileTextures_.push_back(store_.addTexture(std::string_view(name, strnlen(name, kTextureRecordSize))));
        }
        return {};
    }

    LoadError readCounts() {
        const uint8_t* counts = reader_.take(kCountsSize);
        if (counts == nullptr) {
            return failure("the vertex and polygon counts");
        }
        vertexCount_ = decodeU32(counts);
        report_.polygonCount = decodeU32(counts + 4);
        reserveForCounts();
        return {};
    }

    // Room in the store for what the counts declare, as far as the file can
    // hold it: a small file declaring huge counts gets nothing.
    void reserveForCounts() {
        StoreRoom room;
        if (reader_.holds(vertexCount_, kVertexRecordSize)) {
            room.vertices = vertexCount_;
            const uint64_t polygonBytes = reader_.remaining() - uint64_t{vertexCount_} * kVertexRecordSize;
            const uint64_t cornerlessSize = kPolygonRecordSize + cornerBlockSize(0);
            if (report_.polygonCount <= polygonBytes / (cornerlessSize + 3 * kCornerSize)) {
                room.polygons = report_.polygonCount;
                room.corners = std::min<uint64_t>(4 * room.polygons,
                                                  (polygonBytes - room.polygons * cornerlessSize) / kCornerSize);
            }
        }
        store_.reserve(room, mapAhead_);
    }

    LoadError readVertices() {
        vertexBase_ = static_cast<uint32_t>(store_.positions.size());
        for (uint32_t index = 0; index < vertexCount_; ++index) {
            fetchVertexAhead();
            const uint8_t* record = reader_.take(kVertexRecordSize);
            if (record == nullptr) {
                return failure(numbered("vertex", index));
            }
            store_.addVertex(readVector3F32(record + kVertexPositionOffset),
                             readVector3F32(record + kVertexNormalOffset));
        }
        return {};
    }

    // The lookups of a large model's values land all over their tables, one
    // cache miss each. So the store is given the records a little ahead of
    // the one being added, to fetch their slots meanwhile.
    void fetchVertexAhead() {
        if (!store_.lookupsOutgrowCache()) {
            return;
        }
        constexpr size_t kWindow = kVerticesAhead * kVertexRecordSize;
        const std::span<const uint8_t> ahead = reader_.peek(kWindow);
        if (ahead.size() == kWindow) {
            store_.prefetchVertex(readVector3F32(ahead.data() + kWindow - kVertexRecordSize + kVertexNormalOffset));
        }
    }

    // Looks at the polygon records up to kPolygonBytesAhead past the next
    // one, each once; stops at a record it cannot add (the reading reports
    // it when it gets there).
    void fetchPolygonsAhead() {
        if (!store_.lookupsOutgrowCache()) {
            return;
        }
        const uint64_t position = reader_.offset();
        aheadOffset_ = std::max(aheadOffset_, position);
        while (aheadOffset_ - position < kPolygonBytesAhead) {
            const auto distance = static_cast<size_t>(aheadOffset_ - position);
            const std::span<const uint8_t> window = reader_.peek(distance + kPolygonRecordSize + cornerBlockSize(4));
            if (window.size() < distance + kPolygonRecordSize) {
                return;
            }
            const uint8_t* record = window.data() + distance;
            const uint32_t cornerCount = decodeU32(record + kPolygonCornerCountOffset);
            if ((cornerCount != 3 && cornerCount != 4) ||
                window.size() < distance + kPolygonRecordSize + cornerBlockSize(cornerCount)) {
                return;
            }
            prefetchPolygon(record, cornerCount);
            aheadOffset_ += kPolygonRecordSize + cornerBlockSize(cornerCount);
        }
    }

    void prefetchPolygon(const uint8_t* record, uint32_t cornerCount) const {
        const uint8_t* corners = record + kPolygonRecordSize;
        std::array<uint32_t, 4> vertex{};
        std::array<Vector3, 4> texcoords;
        for (uint32_t corner = 0; corner < cornerCount; ++corner) {
            const uint32_t fileVertex = decodeU32(corners + 4 * corner);
            vertex[corner] = fileVertex < vertexCount_ ? vertexBase_ + fileVertex : UINT32_MAX;
            texcoords[corner] = {cornerU(corners, cornerCount, corner), cornerV(corners, cornerCount, corner), 0.0};
        }
        const bool textured = storeTexture(decodeU32(record + kPolygonTextureIndexOffset)) != kTextureNone;
        const bool flatShaded = (decodeU32(record + kPolygonFlagsOffset) & kFlatShadedFlag) != 0;
        const Vector3 faceNormal = flatShaded ? readVector3F64(record + kPolygonFaceNormalOffset) : Vector3{};
        store_.prefetchPolygon({vertex.data(), cornerCount}, {texcoords.data(), textured ? cornerCount : 0},
                               flatShaded ? &faceNormal : nullptr);
    }

    LoadError readPolygons() {
        const uint32_t polygonCount = report_.polygonCount;
        for (uint32_t index = 0; index < polygonCount; ++index) {
            if (LoadError error = readPolygon(index)) {
                return error;
            }
        }
        return {};
    }

    LoadError readPolygon(uint32_t index) {
        fetchPolygonsAhead();
        const uint8_t* record = reader_.take(kPolygonRecordSize);
        if (record == nullptr) {
            return failure(numbered("polygon", index));
        }
        const uint32_t cornerCount = decodeU32(record + kPolygonCornerCountOffset);
        if (cornerCount != 3 && cornerCount != 4) {
            return reader_.skip(cornerBlockSize(cornerCount))
                       ? LoadError()
                       : failure("the corners of " + numbered("polygon", index));
        }
        std::array<uint8_t, kPolygonRecordSize> recordCopy{};
        std::memcpy(recordCopy.data(), record, kPolygonRecordSize);
        const uint8_t* corners = reader_.take(cornerBlockSize(cornerCount));
        if (corners == nullptr) {
            return failure("the corners of " + numbered("polygon", index));
        }
        return cornerCount == 3 ? addPolygon<3>(index, recordCopy.data(), corners)
                                : addPolygon<4>(index, recordCopy.data(), corners);
    }

    template <size_t N>
    LoadError addPolygon(uint32_t index, const uint8_t* record, const uint8_t* corners) {
        std::array<uint32_t, N> vertex{};
        std::array<double, N> u{};
        std::array<double, N> v{};
        for (size_t corner = 0; corner < N; ++corner) {
            const uint32_t fileVertex = decodeU32(corners + 4 * corner);
            if (fileVertex >= vertexCount_) {
                return {LoadFailure::kVertexOutOfRange, "polygon " + std::to_string(index) + " refers to vertex " +
                                                            std::to_string(fileVertex) + ", but the file has " +
                                                            std::to_string(vertexCount_) + " vertices"};
            }
            vertex[corner] = vertexBase_ + fileVertex;
            u[corner] = cornerU(corners, N, corner);
            v[corner] = cornerV(corners, N, corner);
        }
        const uint32_t flags = decodeU32(record + kPolygonFlagsOffset);
        const uint32_t textureIndex = decodeU32(record + kPolygonTextureIndexOffset);
        const Material material = readMaterial(record, textureIndex);
        const bool flatShaded = (flags & kFlatShadedFlag) != 0;
        std::array<Vector3, N> cornerNormals;
        if (flatShaded) {
            cornerNormals.fill(readVector3F64(record + kPolygonFaceNormalOffset));
            ++report_.flatShadedCount;
        }
        if constexpr (N == 3) {
            store_.addTriangle(vertex, material, u, v, flatShaded ? &cornerNormals : nullptr);
            ++report_.triangleCount;
        } else {
            store_.addQuad(vertex, material, u, v, flatShaded ? &cornerNormals : nullptr);
            ++report_.quadCount;
        }
        countStateChange({textureIndex, flags, decodeU32(corners + tailBWord1Offset(N)),
                          decodeU32(corners + tailAWord1Offset(N))});
        return {};
    }

    Material readMaterial(const uint8_t* record, uint32_t textureIndex) const {
        Material material;
        material.texture = storeTexture(textureIndex);
        for (size_t channel = 0; channel < material.colour.size(); ++channel) {
            material.colour[channel] = record[kPolygonColourOffset + channel] * kColourScale;
        }
        return material;
    }

    // The store's texture for a file texture number.
    uint32_t storeTexture(uint32_t textureIndex) const {
        if (textureIndex == kFileTextureNone) {
            return kTextureNone;
        }
        return textureIndex < fileTextures_.size() ? fileTextures_[textureIndex] : kTextureMissing;
    }

    void countStateChange(const RenderState& state) {
        if (state != previousState_) {
            ++report_.stateChanges;
            previousState_ = state;
        }
    }

    static constexpr size_t kVerticesAhead = 16;
    static constexpr uint64_t kPolygonBytesAhead = 2048;  // some 16 records

    MeshStore& store_;
    BackgroundPrefault mapAhead_;  // its thread is joined once the reading ends
    mag5::ByteReader& reader_;
    LoadReport report_;
    uint32_t textureCount_ = 0;
    uint32_t vertexCount_ = 0;
    uint32_t vertexBase_ = 0;
    std::vector<uint32_t> fileTextures_;  // store index of each file texture
    RenderState previousState_;
    uint64_t aheadOffset_ = 0;  // file offset of the next polygon record to look at
};

}  // namespace

LoadResult loadMagFile(const std::string& path, MeshStore& store) {
    mag5::ByteReader reader;
    if (std::string reason = reader.open(path); !reason.empty()) {
        return {{LoadFailure::kCannotOpen, std::move(reason)}, {}};
    }
    return loadMagFile(reader, store);
}

LoadResult loadMagFile(mag5::ByteReader& reader, MeshStore& store) {
    return Mag5Loader(reader, store).load();
}

}  // namespace zelvane
