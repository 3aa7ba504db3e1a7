#include "mag5writer/Mag5Writer.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <fstream>
#include <utility>

namespace zelvane::tools {

namespace {

constexpr std::array<uint8_t, 4> kMagic{'M', 'A', 'G', '5'};
constexpr size_t kHeaderReservedSize = 4;
constexpr size_t kTextureNameSize = 32;
constexpr size_t kVertexReservedSize = 4;
constexpr size_t kPolygonReservedASize = 20;
constexpr size_t kPolygonReservedBSize = 8;
constexpr size_t kTailWordSize = 4;

// Appends fixed-size little-endian fields to a growing byte buffer.
class ByteSink {
public:
    explicit ByteSink(uint8_t fill) : fill_(fill) {}

    void u32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<uint8_t>(value >> shift));
        }
    }

    void u64(uint64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            bytes_.push_back(static_cast<uint8_t>(value >> shift));
        }
    }

    void i32(int32_t value) { u32(std::bit_cast<uint32_t>(value)); }
    void f32(float value) { u32(std::bit_cast<uint32_t>(value)); }
    void f64(double value) { u64(std::bit_cast<uint64_t>(value)); }
    void raw(const std::array<uint8_t, 4>& four) { bytes_.insert(bytes_.end(), four.begin(), four.end()); }

    // Bytes of a field the format does not interpret.
    void reserved(size_t count) { bytes_.insert(bytes_.end(), count, fill_); }

    // A fixed-size text field: the text, cut to size, then NUL bytes.
    void paddedText(const std::string& text, size_t size) {
        const size_t used = std::min(text.size(), size);
        for (size_t i = 0; i < used; ++i) {
            bytes_.push_back(static_cast<uint8_t>(text[i]));
        }
        bytes_.insert(bytes_.end(), size - used, uint8_t{0});
    }

    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    uint8_t fill_;
    std::vector<uint8_t> bytes_;
};

uint32_t countOf(size_t size) { return static_cast<uint32_t>(size); }

void writeHeader(ByteSink& sink, const Mag5ModelSpec& model) {
    sink.raw(kMagic);
    sink.u32(countOf(model.textures.size()));
    sink.reserved(kHeaderReservedSize);
    for (const std::string& name : model.textures) {
        sink.paddedText(name, kTextureNameSize);
    }
    sink.u32(countOf(model.vertices.size()));
    sink.u32(countOf(model.polygons.size()));
}

void writeVertex(ByteSink& sink, const Mag5VertexSpec& vertex) {
    for (float coordinate : vertex.position) {
        sink.f32(coordinate);
    }
    for (float component : vertex.normal) {
        sink.f32(component);
    }
    sink.reserved(kVertexReservedSize);
}

void writePolygonRecord(ByteSink& sink, const Mag5PolygonSpec& polygon) {
    sink.u32(polygon.flags);
    sink.reserved(kPolygonReservedASize);
    for (double component : polygon.faceNormal) {
        sink.f64(component);
    }
    sink.reserved(kPolygonReservedBSize);
    sink.raw(polygon.colour);
    sink.i32(polygon.textureIndex);
    sink.u32(countOf(polygon.corners.size()));
}

// vertexIndices[n], cornerU[n], cornerV[n], then tailA and tailB, each a
// reserved word followed by the word that counts as render state.
void writeCornerBlock(ByteSink& sink, const Mag5PolygonSpec& polygon) {
    for (const Mag5CornerSpec& corner : polygon.corners) {
        sink.u32(corner.vertex);
    }
    for (const Mag5CornerSpec& corner : polygon.corners) {
        sink.f32(corner.u);
    }
    for (const Mag5CornerSpec& corner : polygon.corners) {
        sink.f32(corner.v);
    }
    sink.reserved(kTailWordSize);
    sink.u32(polygon.tailAWord1);
    sink.reserved(kTailWordSize);
    sink.u32(polygon.tailBWord1);
}

}  // namespace

std::vector<uint8_t> encodeMag5(const Mag5ModelSpec& model) {
    ByteSink sink(model.reservedFill);
    writeHeader(sink, model);
    for (const Mag5VertexSpec& vertex : model.vertices) {
        writeVertex(sink, vertex);
    }
    for (const Mag5PolygonSpec& polygon : model.polygons) {
        writePolygonRecord(sink, polygon);
        writeCornerBlock(sink, polygon);
    }
    return sink.take();
}

bool saveMag5(const Mag5ModelSpec& model, const std::string& path) {
    const std::vector<uint8_t> bytes = encodeMag5(model);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace zelvane::tools
