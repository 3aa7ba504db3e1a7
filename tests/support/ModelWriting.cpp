#include "ModelWriting.h"

namespace zelvane::test {

ModelWriting writeModel(const FormatWriter& writer, const MeshStore& store, const std::string& basePath,
                        const TextureFiles& textures) {
    ModelWriting result;
    OutputSet outputs;
    const auto count = [&result](size_t polygons) { result.count = polygons; };
    if (!writer.write(outputs, {store, textures, basePath}, count) || !outputs.commit()) {
        result.failure = outputs.error();
    }
    return result;
}

}  // namespace zelvane::test
