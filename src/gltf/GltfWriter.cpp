#include "GltfWriter.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "GltfBufferLayout.h"
#include "GltfBytes.h"
#include "GltfBufferWriter.h"
#include "GltfDocument.h"
#include "GltfImages.h"
#include "GltfMesh.h"
#include "os/PathText.h"
#include "textures/TextureFileOutput.h"

namespace zelvane {
namespace {

constexpr uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr uint32_t kGlbVersion = 2;
constexpr uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
constexpr uint32_t kBinChunk = 0x004E4942;   // "BIN\0"
constexpr size_t kGlbHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;

struct GltfParts {
    GltfMesh mesh;
    GltfImages images;
    GltfBufferLayout layout;
};

// The 12-byte header, then the JSON chunk padded with blanks, then the
// header of the BIN chunk, whose bytes follow.
bool writeGlbStart(OutputFile& file, std::string_view json, size_t bufferLength) {
    const size_t jsonLength = paddedToFour(json.size());
    const size_t binLength = bufferLength > 0 ? kChunkHeaderSize + bufferLength : 0;
    const size_t total = kGlbHeaderSize + kChunkHeaderSize + jsonLength + binLength;
    if (total > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    TextBuffer& out = file.text();
    appendWord(out, kGlbMagic);
    appendWord(out, kGlbVersion);
    appendWord(out, static_cast<uint32_t>(total));
    appendWord(out, static_cast<uint32_t>(jsonLength));
    appendWord(out, kJsonChunk);
    out.append(json);
    out.append(std::string_view("   ", jsonLength - json.size()));
    if (bufferLength > 0) {
        appendWord(out, static_cast<uint32_t>(bufferLength));
        appendWord(out, kBinChunk);
    }
    return true;
}

bool writeGlbFile(OutputSet& outputs, const MeshStore& store, const GltfParts& parts, const std::string& path) {
    TextBuffer json;
    appendGltfDocument(json, {store, parts.mesh, parts.images, parts.layout, ""});
    OutputFile* glb = outputs.create(path, FileMode::kBinary);
    if (glb == nullptr) {
        return false;
    }
    if (!writeGlbStart(*glb, json.view(), parts.layout.length)) {
        return outputs.refuse(path, "more than a .glb file can hold (4 GiB); --gltf writes it");
    }
    writeGltfBuffer(*glb, store, parts.mesh, parts.images, parts.layout);
    return outputs.close(*glb);
}

bool writeJsonAndBin(OutputSet& outputs, const MeshStore& store, const GltfParts& parts,
                     const std::string& basePath) {
    const std::string binPath = basePath + ".bin";
    TextBuffer json;
    appendGltfDocument(json, {store, parts.mesh, parts.images, parts.layout, std::string(fileNamePart(binPath))});
    OutputFile* document = outputs.create(basePath + ".gltf", FileMode::kBinary);
    if (document == nullptr) {
        return false;
    }
    document->write(json.view());
    if (!outputs.close(*document)) {
        return false;
    }
    OutputFile* bin = outputs.create(binPath, FileMode::kBinary);
    if (bin == nullptr) {
        return false;
    }
    writeGltfBuffer(*bin, store, parts.mesh, parts.images, parts.layout);
    return outputs.close(*bin);
}

GltfParts partsOf(const ModelOutput& model, bool embedImages) {
    GltfParts parts{buildGltfMesh(model.store, groupsShowingImages(model.store, model.textures)), {}, {}};
    parts.images = collectGltfImages(parts.mesh, model.textures);
    parts.layout = layOutGltfBuffer(parts.mesh, parts.images, embedImages);
    return parts;
}

}  // namespace

bool writeGlb(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) {
    const GltfParts parts = partsOf(model, true);
    if (!writeGlbFile(outputs, model.store, parts, model.basePath + ".glb")) {
        return false;
    }
    polygonCount(parts.mesh.polygonCount);
    return true;
}

bool writeGltf(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) {
    if (!writeTextureFiles(outputs, model.textures, std::string(folderPart(model.basePath)))) {
        return false;
    }
    const GltfParts parts = partsOf(model, false);
    if (!writeJsonAndBin(outputs, model.store, parts, model.basePath)) {
        return false;
    }
    polygonCount(parts.mesh.polygonCount);
    return true;
}

}  // namespace zelvane
