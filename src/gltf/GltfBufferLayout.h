#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "GltfImages.h"
#include "GltfMesh.h"

namespace zelvane {

// Where everything goes in a glTF output's one binary buffer: the vertices
// interleaved (position, normal, and the texture coordinate when the mesh
// has them), then each primitive's indices, then, when the images are
// embedded, each image. Every part
// starts at a multiple of 4 bytes, the gaps and the end padded with zeros.
struct GltfBufferLayout {
    struct Part {
        size_t offset = 0;
        size_t length = 0;
    };
    static constexpr size_t kPositionOffset = 0;
    static constexpr size_t kNormalOffset = 12;
    static constexpr size_t kTexcoordOffset = 24;

    size_t vertexStride = 24;  // 32 with texture coordinates
    // 16-bit indices while the largest fits below 65535, the value that
    // restarts a strip; 32-bit otherwise.
    bool shortIndices = true;
    Part vertices;
    std::vector<Part> primitives;
    std::vector<Part> images;  // empty unless embedded
    size_t length = 0;  // a multiple of 4
};

GltfBufferLayout layOutGltfBuffer(const GltfMesh& mesh, const GltfImages& images, bool embedImages);

inline size_t paddedToFour(size_t length) {
    return (length + 3) & ~size_t{3};
}

}  // namespace zelvane
