// A mesh as binary little-endian PLY: every vertex a position, a normal and a
// texture coordinate (float x y z nx ny nz s t), every face a list of vertex
// indices (uchar count, int indices).
//
// PLY wants both counts in its header, before the vertices, and all vertices
// before the first face, while a generator learns of vertices as it goes
// through the faces. Vertices and faces are therefore streamed into two
// temporary files beside the output and joined behind the header by finish.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ChunkedFile.h"

namespace zelvane::tools {

struct PlyVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    std::array<float, 2> texcoord{};
};

class PlyWriter {
public:
    explicit PlyWriter(std::string path);
    ~PlyWriter();
    PlyWriter(const PlyWriter&) = delete;
    PlyWriter& operator=(const PlyWriter&) = delete;

    bool isOpen() const { return vertices_->isOpen() && faces_->isOpen(); }
    // Appends a vertex; returns its index.
    uint32_t addVertex(const PlyVertex& vertex);
    void addFace(std::span<const uint32_t> vertexIndices);
    // Writes the file and removes the temporary ones; false if anything failed.
    bool finish();

private:
    std::string path_;
    std::unique_ptr<ChunkedFile> vertices_;
    std::unique_ptr<ChunkedFile> faces_;
    uint32_t vertexCount_ = 0;
    uint32_t faceCount_ = 0;
};

}  // namespace zelvane::tools
