#include "ModelSink.h"

#include <algorithm>

namespace zelvane::tools {
namespace {

bool usesOwnTexcoord(const Mag5PolygonSpec& polygon, const Mag5CornerSpec& corner, const PlyVertex& vertex) {
    return polygon.textureIndex < 0 || (corner.u == vertex.texcoord[0] && corner.v == vertex.texcoord[1]);
}

}  // namespace

ModelSink::ModelSink(const BenchModelFiles& files, const std::vector<std::string>& textures, uint32_t vertexCount,
                     uint32_t polygonCount)
    : mag_(files.magPath), ply_(files.plyPath.empty() ? nullptr : std::make_unique<PlyWriter>(files.plyPath)) {
    appendMag5Header(mag_.bytes(), textures, vertexCount, polygonCount, 0);
    if (ply_ != nullptr) vertices_.reserve(vertexCount);
}

void ModelSink::addVertex(const Mag5VertexSpec& vertex, std::array<float, 2> texcoord) {
    appendMag5Vertex(mag_.bytes(), vertex, 0);
    mag_.flushIfLarge();
    if (ply_ != nullptr) vertices_.push_back({{vertex.position, vertex.normal, texcoord}, kNotWritten});
}

void ModelSink::addPolygon(const Mag5PolygonSpec& polygon) {
    appendMag5Polygon(mag_.bytes(), polygon, 0);
    mag_.flushIfLarge();
    if (ply_ == nullptr) return;
    std::array<uint32_t, 4> face{};
    const size_t cornerCount = std::min(polygon.corners.size(), face.size());
    for (size_t k = 0; k < cornerCount; ++k) face[k] = plyIndexOf(polygon, polygon.corners[k]);
    ply_->addFace({face.data(), cornerCount});
}

bool ModelSink::finish() {
    const bool magWritten = mag_.finish();
    return (ply_ == nullptr || ply_->finish()) && magWritten;
}

uint32_t ModelSink::plyIndexOf(const Mag5PolygonSpec& polygon, const Mag5CornerSpec& corner) {
    KeptVertex& vertex = vertices_.at(corner.vertex);
    const bool flat = (polygon.flags & 1) != 0;
    if (!flat && usesOwnTexcoord(polygon, corner, vertex.ply)) {
        if (vertex.plyIndex == kNotWritten) vertex.plyIndex = ply_->addVertex(vertex.ply);
        return vertex.plyIndex;
    }
    PlyVertex own{vertex.ply.position, vertex.ply.normal, {corner.u, corner.v}};
    if (flat) {
        for (size_t i = 0; i < 3; ++i) own.normal[i] = static_cast<float>(polygon.faceNormal[i]);
    }
    return ply_->addVertex(own);
}

}  // namespace zelvane::tools
