#include "Conversion.h"

#include "ErrorLines.h"
#include "gltf/GltfWriter.h"
#include "mag5/Mag5Loader.h"
#include "mesh/MeshStore.h"
#include "obj/ObjWriter.h"
#include "os/PathText.h"
#include "scene/SceneWriter.h"
#include "textures/TexturePreparation.h"

namespace zelvane {
namespace {

struct Format {
    FormatWriter writer;
    const char* countName;  // of the count line "<name> pcount: N"; nullptr for none
};

Format formatOf(OutputFormat format) {
    switch (format) {
        case OutputFormat::kScene:
            return {kSceneWriter, nullptr};
        case OutputFormat::kGlb:
            return {kGlbWriter, "glb"};
        case OutputFormat::kGltf:
            return {kGltfWriter, "gltf"};
        case OutputFormat::kObj:
            break;
    }
    return {kObjWriter, "obj"};
}

std::string textureWarning(const std::string& modelPath, const TextureWarning& warning) {
    std::string reason = "texture " + warning.name + ": " + warning.reason + " (looked in ";
    for (size_t index = 0; index < warning.folders.size(); ++index) {
        reason += index == 0 ? "" : ", ";
        reason += warning.folders[index].empty() ? "." : warning.folders[index];
    }
    return errorLine(modelPath, reason + ")");
}

// Loads every model into the store, printing each one's report; stops at the
// first file that fails, or that the format cannot hold. Notes the model
// that brought each texture name: its image is looked for in that model's
// folder first, and a warning about it names that model.
std::optional<OutputError> loadModels(const Format& format, const std::vector<std::string>& modelPaths,
                                      MeshStore& store, std::vector<std::string>& textureModels, std::ostream& out,
                                      uint64_t& polygons) {
    for (const std::string& path : modelPaths) {
        const size_t firstPosition = store.positions.size();
        const LoadResult result = loadMagFile(path, store);
        if (result.error) {
            return OutputError{path, result.error.words};
        }
        textureModels.resize(store.textures.size(), path);
        if (format.writer.refuseModel != nullptr) {
            if (std::optional<std::string> refusal = format.writer.refuseModel(store, firstPosition)) {
                return OutputError{path, std::move(*refusal)};
            }
        }
        out << formatLoadReport(result.report) << std::flush;
        polygons += result.report.triangleCount + result.report.quadCount;
    }
    return std::nullopt;
}

TextureFiles findTextures(const CommandLine& commandLine, const MeshStore& store,
                          const std::vector<std::string>& textureModels, const std::string& outputBase,
                          std::ostream& err) {
    if (!commandLine.textures) {
        return {};
    }
    TextureSearch search;
    for (const std::string& model : textureModels) {
        search.modelFolders.emplace_back(folderPart(model));
    }
    search.extraFolders = commandLine.textureFolders;
    search.outputFolder = folderPart(outputBase);
    std::vector<TextureWarning> warnings;
    TextureFiles textures = prepareTextureFiles(store, search, warnings);
    for (const TextureWarning& warning : warnings) {
        err << textureWarning(textureModels.at(warning.texture), warning) << std::flush;
    }
    return textures;
}

}  // namespace

ConversionResult convertModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                               const std::string& outputBase, std::ostream& out, std::ostream& err) {
    const Format format = formatOf(commandLine.format);
    ConversionResult result;
    MeshStore store;
    std::vector<std::string> textureModels;  // per store texture number: the model that named it
    result.failure = loadModels(format, modelPaths, store, textureModels, out, result.polygons);
    if (result.failure) {
        return result;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    const TextureFiles textures = findTextures(commandLine, store, textureModels, outputBase, err);
    OutputSet outputs;
    const auto printCount = [&](size_t polygons) {
        if (format.countName != nullptr) {
            out << format.countName << " pcount: " << polygons << '\n' << std::flush;
        }
    };
    if (!format.writer.write(outputs, {store, textures, outputBase}, printCount) || !outputs.commit()) {
        result.failure = outputs.error();
    }
    return result;
}

}  // namespace zelvane
