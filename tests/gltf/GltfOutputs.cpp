#include "GltfOutputs.h"

#include <gtest/gtest.h>

#include <cstring>

#include "Files.h"
#include "mag5/Mag5Loader.h"
#include "os/PathText.h"

namespace zelvane::test {

MeshStore loadModels(const TempFolder& folder, const std::vector<Mag5ModelSpec>& models) {
    MeshStore store;
    for (size_t m = 0; m < models.size(); ++m) {
        const std::string path = folder.file("model" + std::to_string(m) + ".mag");
        saveModel(models[m], path);
        const LoadResult result = loadMagFile(path, store);
        EXPECT_FALSE(result.error) << path << ": " << result.error.words;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    return store;
}

std::string writeGltfFiles(const MeshStore& store, const TextureFiles& textures, const std::string& basePath,
                           GltfForm form) {
    const ModelWriting written = writeModel(writerOf(form), store, basePath, textures);
    EXPECT_FALSE(written.failure) << written.failure->path << ": " << written.failure->reason;
    return written.failure ? "" : basePath + (form == GltfForm::kBinary ? ".glb" : ".gltf");
}

nlohmann::json documentOf(const std::string& path) {
    const std::string bytes = readFile(path);
    if (!path.ends_with(".glb")) {
        return nlohmann::json::parse(bytes);
    }
    uint32_t jsonLength = 0;
    if (bytes.size() < 20) {
        throw std::runtime_error(path + " is too short for a GLB file");
    }
    std::memcpy(&jsonLength, bytes.data() + 12, 4);
    return nlohmann::json::parse(bytes.substr(20, jsonLength));
}

const FormatWriter& writerOf(GltfForm form) {
    return form == GltfForm::kBinary ? kGlbWriter : kGltfWriter;
}

const char* formName(GltfForm form) {
    return form == GltfForm::kBinary ? "glb" : "gltf";
}

}  // namespace zelvane::test
