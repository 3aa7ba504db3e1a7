#include "GltfBufferLayout.h"

namespace zelvane {
namespace {

constexpr uint32_t kLargestShortIndex = 65534;

GltfBufferLayout::Part nextPart(size_t& end, size_t length) {
    const GltfBufferLayout::Part part{end, length};
    end = paddedToFour(end + length);
    return part;
}

}  // namespace

GltfBufferLayout layOutGltfBuffer(const GltfMesh& mesh, const GltfImages& images, bool embedImages) {
    GltfBufferLayout layout;
    layout.vertexStride = mesh.textured ? 32 : 24;
    layout.shortIndices = mesh.largestIndex <= kLargestShortIndex;
    const size_t indexSize = layout.shortIndices ? 2 : 4;
    size_t end = 0;
    layout.vertices = nextPart(end, size_t{mesh.vertexCount} * layout.vertexStride);
    size_t primitiveStart = 0;
    for (const GltfMesh::Primitive& primitive : mesh.primitives) {
        layout.primitives.push_back(nextPart(end, (primitive.indicesEnd - primitiveStart) * indexSize));
        primitiveStart = primitive.indicesEnd;
    }
    for (size_t image = 0; embedImages && image < images.files.size(); ++image) {
        layout.images.push_back(nextPart(end, images.files[image]->bytes().size()));
    }
    layout.length = end;
    return layout;
}

}  // namespace zelvane
