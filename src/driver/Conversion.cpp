#include "Conversion.h"

#include <cmath>

#include "OutputNames.h"
#include "export/Export.h"
#include "export/GltfExporter.h"
#include "export/TexturePreparation.h"
#include "mag5/Mag5Loader.h"
#include "mesh/MeshStore.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

void reportTextureWarning(std::ostream& err, const std::string& modelPath, const TextureWarning& warning) {
    err << "zelvane: " << modelPath << ": texture " << warning.name << ": " << warning.reason << " (looked in ";
    for (size_t index = 0; index < warning.folders.size(); ++index) {
        err << (index == 0 ? "" : ", ") << (warning.folders[index].empty() ? "." : warning.folders[index]);
    }
    err << ")\n" << std::flush;
}

// The first of the positions from index first on that glTF cannot hold.
std::optional<size_t> findNonFinitePosition(const MeshStore& store, size_t first) {
    for (size_t index = first; index < store.positions.size(); ++index) {
        const Vector3 position = store.positions[index];
        if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z)) {
            return index - first;
        }
    }
    return std::nullopt;
}

bool writesGltf(OutputFormat format) {
    return format == OutputFormat::kGlb || format == OutputFormat::kGltf;
}

// Loads every model into the store, printing each one's report; stops at the
// first file that fails. Notes the model that brought each texture name:
// its image is looked for in that model's folder first, and a warning about
// it names that model.
std::optional<OutputError> loadModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                                      MeshStore& store, std::vector<std::string>& textureModels, std::ostream& out,
                                      uint64_t& polygons) {
    for (const std::string& path : modelPaths) {
        const size_t firstPosition = store.positions.size();
        const LoadResult result = loadMagFile(path, store);
        if (result.error) {
            return OutputError{path, result.error.words};
        }
        textureModels.resize(store.textures.size(), path);
        if (writesGltf(commandLine.format)) {
            if (const auto vertex = findNonFinitePosition(store, firstPosition)) {
                return OutputError{path,
                                   "vertex " + std::to_string(*vertex) + " has a position that is not a finite number"};
            }
        }
        out << formatLoadReport(result.report) << std::flush;
        polygons += result.report.triangleCount + result.report.quadCount;
    }
    return std::nullopt;
}

// The images that the outputs name, written beside them (a ".glb" embeds
// them instead).
bool writeTextureFiles(OutputSet& outputs, const TextureFiles& textures, const std::string& folder) {
    for (const TextureFile& file : textures.files) {
        if (file.inPlace) {
            continue;
        }
        OutputFile* output = outputs.create(folder + file.fileName, FileMode::kBinary);
        if (output == nullptr) {
            return false;
        }
        output->write({reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()});
        if (!outputs.close(*output)) {
            return false;
        }
    }
    return true;
}

bool writeOutputs(OutputSet& outputs, const CommandLine& commandLine, const MeshStore& store,
                  const TextureFiles& textures, const OutputPaths& paths, std::ostream& out) {
    if (commandLine.format != OutputFormat::kGlb &&
        !writeTextureFiles(outputs, textures, std::string(folderPart(paths.base)))) {
        return false;
    }
    switch (commandLine.format) {
        case OutputFormat::kObj:
            return writeObj(outputs, store, textures, paths.obj, paths.mtl, out);
        case OutputFormat::kScene:
            return writeScene(outputs, store, textures, paths.xml);
        case OutputFormat::kGlb:
        case OutputFormat::kGltf:
            break;
    }
    const bool binary = commandLine.format == OutputFormat::kGlb;
    const std::optional<size_t> polygons =
        exportGltf(outputs, store, textures, paths.base, binary ? GltfForm::kBinary : GltfForm::kJson);
    if (!polygons) {
        return false;
    }
    out << (binary ? "glb" : "gltf") << " pcount: " << *polygons << '\n' << std::flush;
    return true;
}

TextureFiles findTextures(const CommandLine& commandLine, const MeshStore& store,
                          const std::vector<std::string>& textureModels, const OutputPaths& paths, std::ostream& err) {
    if (!commandLine.textures) {
        return {};
    }
    TextureSearch search;
    for (const std::string& model : textureModels) {
        search.modelFolders.emplace_back(folderPart(model));
    }
    search.extraFolders = commandLine.textureFolders;
    search.outputFolder = folderPart(paths.base);
    std::vector<TextureWarning> warnings;
    TextureFiles textures = prepareTextureFiles(store, search, warnings);
    for (const TextureWarning& warning : warnings) {
        reportTextureWarning(err, textureModels.at(warning.texture), warning);
    }
    return textures;
}

}  // namespace

ConversionResult convertModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                               const std::string& outputBase, std::ostream& out, std::ostream& err) {
    ConversionResult result;
    MeshStore store;
    std::vector<std::string> textureModels;  // per store texture number: the model that named it
    result.failure = loadModels(commandLine, modelPaths, store, textureModels, out, result.polygons);
    if (result.failure) {
        return result;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    const OutputPaths paths = outputPathsForBase(outputBase);
    const TextureFiles textures = findTextures(commandLine, store, textureModels, paths, err);
    OutputSet outputs;
    if (!writeOutputs(outputs, commandLine, store, textures, paths, out) || !outputs.commit()) {
        result.failure = outputs.error();
    }
    return result;
}

}  // namespace zelvane
