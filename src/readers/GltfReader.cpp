#include "GltfReader.h"

#include <cstring>
#include <limits>

#include "GltfFiles.h"
#include "GltfMaterials.h"
#include "GltfPrimitives.h"
#include "mesh/FinitePositions.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

// A mesh placed by several nodes is added once for each. Together they may
// add this many positions and corners for every byte the files hold, and
// a million more.
constexpr uint64_t kCornersPerByte = 16;
constexpr uint64_t kCornersWithoutBytes = uint64_t{1} << 20;

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The document parsed by tinygltf; the reason it could not be otherwise.
std::string parseDocument(std::span<const uint8_t> bytes, GltfFolder& folder, tinygltf::Model& model) {
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        return "a glTF file of 4 GiB or more cannot be read";
    }
    tinygltf::TinyGLTF parser;
    parser.SetImageLoader(keepImageBytes, nullptr);
    parser.SetFsCallbacks(folderCallbacks(folder));
    std::string error;
    std::string warning;
    bool parsed = false;
    try {
        const auto size = static_cast<unsigned int>(bytes.size());
        parsed = isGlb(bytes) ? parser.LoadBinaryFromMemory(&model, &error, &warning, bytes.data(), size, "")
                              : parser.LoadASCIIFromString(&model, &error, &warning,
                                                           reinterpret_cast<const char*>(bytes.data()), size, "");
    } catch (const std::exception& exception) {
        error = exception.what();
    }
    if (parsed) {
        return {};
    }
    if (!folder.problem.empty()) {
        return "buffer " + folder.problem;
    }
    return error.empty() ? "not a readable glTF file" : "not a readable glTF file: " + firstLine(error);
}

std::string unsupportedExtension(const tinygltf::Model& model) {
    for (const std::string& extension : model.extensionsRequired) {
        return "needs the glTF extension " + extension + ", which this converter does not read";
    }
    return {};
}

}  // namespace

bool isGlb(std::span<const uint8_t> firstBytes) {
    return firstBytes.size() >= 4 && std::memcmp(firstBytes.data(), "glTF", 4) == 0;
}

ModelRead readGltfModel(const std::string& path, std::span<const uint8_t> bytes, MeshStore& store) {
    ModelRead read;
    GltfFolder folder{std::string(folderPart(path)), {}, {}};
    tinygltf::Model model;
    read.error = parseDocument(bytes, folder, model);
    read.filesRead = folder.filesRead;
    if (read.error.empty()) {
        read.error = unsupportedExtension(model);
    }
    if (!read.error.empty()) {
        return read;
    }
    const std::vector<Material> materials = readMaterials(model, store, read, read.error);
    if (!read.error.empty()) {
        return read;
    }
    uint64_t bytesRead = bytes.size();
    for (const tinygltf::Buffer& buffer : model.buffers) {
        bytesRead += buffer.data.size();
    }
    const size_t firstPosition = store.positions.size();
    PrimitiveAdder adder(model, materials, store, read, kCornersPerByte * bytesRead + kCornersWithoutBytes);
    read.error = forEachPlacedMesh(
        model, [&](int mesh, const Placement& placement) { return adder.addMesh(mesh, placement); });
    if (read.error.empty()) {
        read.error = refuseNonFinitePositions(store, firstPosition).value_or("");
    }
    return read;
}

}  // namespace zelvane
