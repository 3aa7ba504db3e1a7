#include "GltfExporter.h"

#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "GltfBufferLayout.h"
#include "GltfBufferWriter.h"
#include "GltfDocument.h"
#include "GltfImages.h"
#include "GltfMesh.h"
#include "os/PathText.h"

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

void appendWord(TextBuffer& out, uint32_t word) {
    const std::array<char, 4> bytes{static_cast<char>(word), static_cast<char>(word >> 8),
                                    static_cast<char>(word >> 16), static_cast<char>(word >> 24)};
    out.append(std::string_view(bytes.data(), bytes.size()));
}

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

bool exportGlb(OutputSet& outputs, const MeshStore& store, const GltfParts& parts, const std::string& path) {
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

bool exportJsonAndBin(OutputSet& outputs, const MeshStore& store, const GltfParts& parts,
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

}  // namespace

std::optional<size_t> exportGltf(OutputSet& outputs, const MeshStore& store, const TextureFiles& textures,
                                 const std::string& basePath, GltfForm form) {
    GltfParts parts{buildGltfMesh(store, groupsShowingImages(store, textures)), {}, {}};
    parts.images = collectGltfImages(parts.mesh, textures);
    parts.layout = layOutGltfBuffer(parts.mesh, parts.images, form == GltfForm::kBinary);
    const bool written = form == GltfForm::kBinary ? exportGlb(outputs, store, parts, basePath + ".glb")
                                                   : exportJsonAndBin(outputs, store, parts, basePath);
    return written ? std::optional<size_t>(parts.mesh.polygonCount) : std::nullopt;
}

}  // namespace zelvane
