#include "Mag5Reading.h"

#include <cstring>

#include "Files.h"

namespace zelvane::test {
namespace {

class Bytes {
public:
    explicit Bytes(std::string bytes) : bytes_(std::move(bytes)) {}

    bool has(size_t count) const { return count <= bytes_.size() - at_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    uint32_t u32() { return static_cast<uint32_t>(unsignedValue(4)); }
    float f32() {
        const uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double f64() {
        const uint64_t bits = unsignedValue(8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    uint8_t u8() { return static_cast<uint8_t>(bytes_[at_++]); }
    std::string text(size_t size) {
        std::string field = bytes_.substr(at_, size);
        at_ += size;
        return field.substr(0, field.find('\0'));
    }
    // Steps over a field that should hold only zeros; false when it does not.
    bool zeros(size_t size) {
        bool zero = true;
        for (size_t k = 0; k < size; ++k) {
            zero = zero && bytes_[at_ + k] == '\0';
        }
        at_ += size;
        return zero;
    }

private:
    uint64_t unsignedValue(size_t size) {
        uint64_t value = 0;
        for (size_t k = size; k-- > 0;) {
            value = value << 8 | static_cast<uint8_t>(bytes_[at_ + k]);
        }
        at_ += size;
        return value;
    }

    std::string bytes_;
    size_t at_ = 0;
};

struct Vertex {
    std::array<float, 3> position{};
    std::array<double, 3> normal{};
};

bool readPolygon(Bytes& bytes, const Mag5Reading& file, const std::vector<Vertex>& vertices,
                 Mag5ReadPolygon& polygon, bool& zeros) {
    if (!bytes.has(68)) {
        return false;
    }
    const uint32_t flags = bytes.u32();
    polygon.flat = (flags & 1) != 0;
    const bool reservedA = bytes.zeros(20);
    std::array<double, 3> faceNormal{bytes.f64(), bytes.f64(), bytes.f64()};
    const bool reservedB = bytes.zeros(8);
    zeros = zeros && (flags & ~1u) == 0 && reservedA && reservedB;
    for (uint8_t& channel : polygon.colour) {
        channel = bytes.u8();
    }
    const uint32_t texture = bytes.u32();
    if (texture != 0xFFFFFFFF) {
        polygon.texture = texture < file.textures.size() ? file.textures[texture] : "(texture " + std::to_string(texture) + ")";
    }
    const uint32_t n = bytes.u32();
    if (n < 3 || n > 4 || !bytes.has(12 * size_t{n} + 16)) {
        return false;
    }
    polygon.corners.resize(n);
    for (Mag5ReadCorner& corner : polygon.corners) {
        const uint32_t vertex = bytes.u32();
        if (vertex >= vertices.size()) {
            return false;
        }
        corner.position = vertices[vertex].position;
        corner.normal = polygon.flat ? faceNormal : vertices[vertex].normal;
    }
    for (Mag5ReadCorner& corner : polygon.corners) {
        corner.u = bytes.f32();
    }
    for (Mag5ReadCorner& corner : polygon.corners) {
        corner.v = bytes.f32();
    }
    const bool tails = bytes.zeros(16);
    zeros = zeros && tails;
    return true;
}

}  // namespace

Mag5Reading readMag5(const std::string& path) {
    Mag5Reading file;
    Bytes bytes(readFile(path));
    if (!bytes.has(12) || bytes.u32() != 0x3547414D) {
        file.error = "no MAG5 header";
        return file;
    }
    const uint32_t textureCount = bytes.u32();
    file.reservedAllZero = bytes.zeros(4);
    if (!bytes.has(uint64_t{textureCount} * 32 + 8)) {
        file.error = "file ends in the texture table";
        return file;
    }
    for (uint32_t k = 0; k < textureCount; ++k) {
        file.textures.push_back(bytes.text(32));
    }
    file.vertexCount = bytes.u32();
    const uint32_t polygonCount = bytes.u32();
    if (!bytes.has(uint64_t{file.vertexCount} * 28)) {
        file.error = "file ends in the vertex table";
        return file;
    }
    std::vector<Vertex> vertices(file.vertexCount);
    for (Vertex& vertex : vertices) {
        vertex.position = {bytes.f32(), bytes.f32(), bytes.f32()};
        vertex.normal = {bytes.f32(), bytes.f32(), bytes.f32()};
        file.reservedAllZero = bytes.zeros(4) && file.reservedAllZero;
    }
    for (uint32_t k = 0; k < polygonCount; ++k) {
        Mag5ReadPolygon polygon;
        if (!readPolygon(bytes, file, vertices, polygon, file.reservedAllZero)) {
            file.error = "polygon " + std::to_string(k) + " does not read";
            return file;
        }
        file.polygons.push_back(std::move(polygon));
    }
    if (!bytes.atEnd()) {
        file.error = "bytes after the last polygon";
    }
    return file;
}

}  // namespace zelvane::test
