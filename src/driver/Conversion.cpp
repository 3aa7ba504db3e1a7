#include "Conversion.h"

#include <optional>
#include <sstream>

#include "ErrorLines.h"
#include "gltf/GltfWriter.h"
#include "mag5write/Mag5Writer.h"
#include "ModelLoading.h"
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
        case OutputFormat::kMag5:
            return {kMag5Writer, "mag5"};
        case OutputFormat::kObj:
            break;
    }
    return {kObjWriter, "obj"};
}

// A texture's warning names the folders its image was looked for in, when
// it was looked for.
std::string textureWarning(const std::string& modelPath, const TextureWarning& warning) {
    std::string reason = "texture " + warning.name + ": " + warning.reason;
    for (size_t index = 0; index < warning.folders.size(); ++index) {
        reason += index == 0 ? " (looked in " : ", ";
        reason += warning.folders[index].empty() ? "." : warning.folders[index];
    }
    return errorLine(modelPath, warning.folders.empty() ? reason : reason + ")");
}

// What the store's textures came with, by texture number: the model that
// named each (its image is looked for in that model's folder first, and a
// warning about it names that model) and where its image is.
struct TextureOrigins {
    std::vector<std::string> models;
    std::vector<TextureSource> sources;
};

void noteTextureOrigins(const std::string& path, const ModelLoad& loaded, size_t textureCount,
                        TextureOrigins& origins) {
    const size_t known = origins.models.size();
    origins.models.resize(textureCount, path);
    origins.sources.resize(textureCount);
    for (const auto& [texture, source] : loaded.textureSources) {
        if (texture >= known && texture < textureCount) {
            origins.sources[texture] = source;
        }
    }
}

// Loads every model into the store, printing each one's report to out and
// its warnings to err when they are given; stops at the first file that
// fails, or that the format cannot hold. Notes every file read.
std::optional<OutputError> loadModels(const FormatWriter& writer, const std::vector<std::string>& modelPaths,
                                      MeshStore& store, TextureOrigins& origins, std::ostream* out,
                                      std::ostream* err, ConversionResult& result,
                                      std::vector<std::string>& filesRead) {
    for (const std::string& path : modelPaths) {
        const size_t firstPosition = store.positions.size();
        const ModelLoad loaded = loadModel(path, store);
        if (!loaded.error.empty()) {
            return OutputError{path, loaded.error};
        }
        noteTextureOrigins(path, loaded, store.textures.size(), origins);
        filesRead.insert(filesRead.end(), loaded.filesRead.begin(), loaded.filesRead.end());
        if (writer.refuseModel != nullptr) {
            if (std::optional<std::string> refusal = writer.refuseModel(store, firstPosition)) {
                return OutputError{path, std::move(*refusal)};
            }
        }
        if (out != nullptr) {
            *out << loaded.report << std::flush;
        }
        for (const std::string& warning : loaded.warnings) {
            result.warnings.push_back(errorLine(path, warning));
            if (err != nullptr) {
                *err << result.warnings.back() << std::flush;
            }
        }
        result.triangles += loaded.triangles;
        result.quads += loaded.quads;
        result.polygons += loaded.triangles + loaded.quads;
    }
    return std::nullopt;
}

std::vector<FileIdentity> identitiesOf(const std::vector<std::string>& paths) {
    std::vector<FileIdentity> identities;
    for (const std::string& path : paths) {
        if (const FileIdentity identity = identityOf(path); identity != FileIdentity{}) {
            identities.push_back(identity);
        }
    }
    return identities;
}

// What the images are looked for and kept for: the search, with the
// outputs' folder and the picture's name when there is one.
TextureSearch searchFor(const TextureOrigins& origins, const std::vector<std::string>& extraFolders,
                        const std::string& outputBase, const std::string& picturePath) {
    TextureSearch search;
    for (const std::string& model : origins.models) {
        search.modelFolders.emplace_back(folderPart(model));
    }
    search.sources = origins.sources;
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
TextureFiles findTextures(const MeshStore& store, const TextureOrigins& origins, const TextureSearch& search,
                          std::ostream& err, ConversionResult& result) {
    std::vector<TextureWarning> warnings;
    TextureFiles textures = prepareTextureFiles(store, search, warnings);
    for (const TextureWarning& warning : warnings) {
        result.warnings.push_back(textureWarning(origins.models.at(warning.texture), warning));
        err << result.warnings.back() << std::flush;
    }
    return textures;
}

}  // namespace

ConversionResult convertModels(const CommandLine& commandLine, const std::vector<std::string>& modelPaths,
                               const std::string& outputBase, std::ostream& out, std::ostream& err,
                               const std::vector<FileIdentity>& otherInputs, TextureCache* textureCache) {
    const Format format = formatOf(commandLine.format);
    ConversionResult result;
    MeshStore store;
    TextureOrigins origins;
    std::vector<std::string> filesRead;
    result.failure = loadModels(format.writer, modelPaths, store, origins, &out, &err, result, filesRead);
    if (result.failure) {
        return result;
    }
    store.mergeAndGroup();
    const std::string picture = commandLine.preview ? outputBase + ".preview.png" : "";
    TextureFiles textures;
    if (commandLine.textures) {
        TextureSearch search = searchFor(origins, commandLine.textureFolders, outputBase, picture);
        search.pcx = commandLine.format == OutputFormat::kMag5;
        search.cache = textureCache;
        textures = findTextures(store, origins, search, err, result);
    }
    OutputSet outputs;
    std::vector<FileIdentity> inputs = identitiesOf(filesRead);
    inputs.insert(inputs.end(), otherInputs.begin(), otherInputs.end());
    outputs.protect(std::move(inputs));
    const ModelOutput model{store, textures, outputBase};
    const auto printCount = [&](size_t polygons) {
        if (format.countName != nullptr) {
            out << format.countName << " pcount: " << polygons << '\n' << std::flush;
        }
    };
    // Models converted side by side draw on one thread each; a model
    // converted alone is drawn while its other outputs are written.
    const unsigned threads = commandLine.each ? 1 : availableCores();
    std::optional<PictureDrawing> drawing;
    if (!picture.empty()) {
        drawing.emplace(model, commandLine.previewSize, threads);
    }
    if (!format.writer.write(outputs, model, printCount) || (drawing && !drawing->write(outputs, picture)) ||
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
    TextureOrigins origins;
    std::vector<std::string> filesRead;
    if (std::optional<OutputError> failure = loadModels(FormatWriter{}, {request.modelPath}, store, origins, nullptr,
                                                        nullptr, result, filesRead)) {
        return failure;
    }
    store.mergeAndGroup();
    std::ostringstream unshown;  // the warnings of a thumbnail go nowhere
    TextureSearch search = searchFor(origins, {}, request.picturePath, request.picturePath);
    search.onlyDecoded = true;
    const TextureFiles textures = findTextures(store, origins, search, unshown, result);
    OutputSet outputs;
    outputs.protect(identitiesOf(filesRead));
    if (!writePicture(outputs, {store, textures, request.picturePath}, request.picturePath, request.size,
                      availableCores()) ||
        !outputs.commit()) {
        return outputs.error();
    }
    return std::nullopt;
}

}  // namespace zelvane
