#include "Conversion.h"

#include <sstream>

#include "ErrorLines.h"
#include "gltf/GltfWriter.h"
#include "mag5/Mag5Loader.h"
#include "mesh/MeshStore.h"
#include "obj/ObjWriter.h"
#include "os/Folders.h"
#include "os/PathText.h"
#include "picture/PictureWriter.h"
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

// Loads every model into the store, printing each one's report to out
// when there is one; stops at the first file that fails, or that the format
// cannot hold. Notes the model that brought each texture name: its image is
// looked for in that model's folder first, and a warning about it names
// that model.
std::optional<OutputError> loadModels(const FormatWriter& writer, const std::vector<std::string>& modelPaths,
                                      MeshStore& store, std::vector<std::string>& textureModels, std::ostream* out,
                                      ConversionResult& result) {
    for (const std::string& path : modelPaths) {
        const size_t firstPosition = store.positions.size();
        const LoadResult loaded = loadMagFile(path, store);
        if (loaded.error) {
            return OutputError{path, loaded.error.words};
        }
        textureModels.resize(store.textures.size(), path);
        if (writer.refuseModel != nullptr) {
            if (std::optional<std::string> refusal = writer.refuseModel(store, firstPosition)) {
                return OutputError{path, std::move(*refusal)};
            }
        }
        if (out != nullptr) {
            *out << formatLoadReport(loaded.report) << std::flush;
        }
        result.triangles += loaded.report.triangleCount;
        result.quads += loaded.report.quadCount;
        result.polygons += loaded.report.triangleCount + loaded.report.quadCount;
    }
    return std::nullopt;
}

// What the images are looked for and kept for: the search, with the
// outputs' folder and the picture's name when there is one.
TextureSearch searchFor(const std::vector<std::string>& textureModels, const std::vector<std::string>& extraFolders,
                        const std::string& outputBase, const std::string& picturePath) {
    TextureSearch search;
    for (const std::string& model : textureModels) {
        search.modelFolders.emplace_back(folderPart(model));
    }
    search.extraFolders = extraFolders;
    search.outputFolder = folderPart(outputBase);
    if (!picturePath.empty()) {
        search.reservedNames.emplace_back(fileNamePart(picturePath));
        search.keepDecoded = true;
    }
    return search;
}

// The images of the store's textures; each warning's line goes to err and
// into the result.
TextureFiles findTextures(const MeshStore& store, const std::vector<std::string>& textureModels,
                          const TextureSearch& search, std::ostream& err, ConversionResult& result) {
    std::vector<TextureWarning> warnings;
    TextureFiles textures = prepareTextureFiles(store, search, warnings);
    for (const TextureWarning& warning : warnings) {
        result.warnings.push_back(textureWarning(textureModels.at(warning.texture), warning));
        err << result.warnings.back() << std::flush;
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
    result.failure = loadModels(format.writer, modelPaths, store, textureModels, &out, result);
    if (result.failure) {
        return result;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    const std::string picture = commandLine.preview ? outputBase + ".preview.png" : "";
    const TextureFiles textures =
        commandLine.textures
            ? findTextures(store, textureModels, searchFor(textureModels, commandLine.textureFolders, outputBase, picture),
                           err, result)
            : TextureFiles{};
    OutputSet outputs;
    const ModelOutput model{store, textures, outputBase};
    const auto printCount = [&](size_t polygons) {
        if (format.countName != nullptr) {
            out << format.countName << " pcount: " << polygons << '\n' << std::flush;
        }
    };
    // Models converted side by side draw on one thread each.
    const unsigned threads = commandLine.each ? 1 : availableCores();
    if (!format.writer.write(outputs, model, printCount) ||
        (!picture.empty() && !writePicture(outputs, model, picture, commandLine.previewSize, threads)) ||
        !outputs.commit()) {
        result.failure = outputs.error();
        return result;
    }
    result.outputs = outputs.paths();
    result.picture = picture;
    return result;
}

std::optional<OutputError> drawThumbnail(const ThumbnailRequest& request) {
    ConversionResult result;
    MeshStore store;
    std::vector<std::string> textureModels;
    if (std::optional<OutputError> failure = loadModels(FormatWriter{}, {request.modelPath}, store, textureModels,
                                                        nullptr, result)) {
        return failure;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    std::ostringstream unshown;  // the warnings of a thumbnail go nowhere
    TextureSearch search = searchFor(textureModels, {}, request.picturePath, request.picturePath);
    search.onlyDecoded = true;
    const TextureFiles textures = findTextures(store, textureModels, search, unshown, result);
    OutputSet outputs;
    if (!writePicture(outputs, {store, textures, request.picturePath}, request.picturePath, request.size,
                      availableCores()) ||
        !outputs.commit()) {
        return outputs.error();
    }
    return std::nullopt;
}

}  // namespace zelvane
