#include "PlyWriter.h"

#include <cstdio>
#include <string>
#include <utility>

namespace zelvane::tools {
namespace {

std::string vertexPartPath(const std::string& path) {
    return path + ".vertices.tmp";
}

std::string facePartPath(const std::string& path) {
    return path + ".faces.tmp";
}

std::string plyHeader(uint32_t vertexCount, uint32_t faceCount) {
    return "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(vertexCount) +
           "\nproperty float x\nproperty float y\nproperty float z\n"
           "property float nx\nproperty float ny\nproperty float nz\n"
           "property float s\nproperty float t\n"
           "element face " + std::to_string(faceCount) +
           "\nproperty list uchar int vertex_indices\nend_header\n";
}

}  // namespace

PlyWriter::PlyWriter(std::string path)
    : path_(std::move(path)),
      vertices_(std::make_unique<ChunkedFile>(vertexPartPath(path_))),
      faces_(std::make_unique<ChunkedFile>(facePartPath(path_))) {}

PlyWriter::~PlyWriter() {
    vertices_.reset();
    faces_.reset();
    std::remove(vertexPartPath(path_).c_str());
    std::remove(facePartPath(path_).c_str());
}

uint32_t PlyWriter::addVertex(const PlyVertex& vertex) {
    std::vector<uint8_t>& bytes = vertices_->bytes();
    for (float value : vertex.position) appendRaw(bytes, value);
    for (float value : vertex.normal) appendRaw(bytes, value);
    for (float value : vertex.texcoord) appendRaw(bytes, value);
    vertices_->flushIfLarge();
    return vertexCount_++;
}

void PlyWriter::addFace(std::span<const uint32_t> vertexIndices) {
    std::vector<uint8_t>& bytes = faces_->bytes();
    appendRaw(bytes, static_cast<uint8_t>(vertexIndices.size()));
    for (uint32_t index : vertexIndices) appendRaw(bytes, static_cast<int32_t>(index));
    faces_->flushIfLarge();
    ++faceCount_;
}

bool PlyWriter::finish() {
    if (!vertices_->finish() || !faces_->finish()) return false;
    ChunkedFile ply(path_);
    const std::string header = plyHeader(vertexCount_, faceCount_);
    ply.bytes().insert(ply.bytes().end(), header.begin(), header.end());
    ply.appendFile(vertexPartPath(path_));
    ply.appendFile(facePartPath(path_));
    return ply.finish();
}

}  // namespace zelvane::tools
