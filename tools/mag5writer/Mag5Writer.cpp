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
    ByteSink(std::vector<uint8_t>& bytes, uint8_t fill) : bytes_(bytes), fill_(fill) {}

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

private:
    std::vector<uint8_t>& bytes_;
    uint8_t fill_;
};

uint32_t countOf(size_t size) { return static_cast<uint32_t>(size); }


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

void appendMag5Header(std::vector<uint8_t>& bytes, const std::vector<std::string>& textures, uint32_t vertexCount,
                      uint32_t polygonCount, uint8_t reservedFill) {
    ByteSink sink(bytes, reservedFill);
    sink.raw(kMagic);
    sink.u32(countOf(textures.size()));
    sink.reserved(kHeaderReservedSize);
    for (const std::string& name : textures) {
        sink.paddedText(name, kTextureNameSize);
    }
    sink.u32(vertexCount);
    sink.u32(polygonCount);
}

void appendMag5Vertex(std::vector<uint8_t>& bytes, const Mag5VertexSpec& vertex, uint8_t reservedFill) {
    ByteSink sink(bytes, reservedFill);
    writeVertex(sink, vertex);
}

void appendMag5Polygon(std::vector<uint8_t>& bytes, const Mag5PolygonSpec& polygon, uint8_t reservedFill) {
    ByteSink sink(bytes, reservedFill);
    writePolygonRecord(sink, polygon);
    writeCornerBlock(sink, polygon);
}

std::vector<uint8_t> encodeMag5(const Mag5ModelSpec& model) {
    std::vector<uint8_t> bytes;
    appendMag5Header(bytes, model.textures, countOf(model.vertices.size()), countOf(model.polygons.size()),
                     model.reservedFill);
    for (const Mag5VertexSpec& vertex : model.vertices) {
        appendMag5Vertex(bytes, vertex, model.reservedFill);
    }
    for (const Mag5PolygonSpec& polygon : model.polygons) {
        appendMag5Polygon(bytes, polygon, model.reservedFill);
    }
    return bytes;
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
