#include "ModelLoading.h"

#include "mag5/Mag5Loader.h"
#include "os/PathText.h"
#include "readers/GltfReader.h"
#include "readers/ObjReader.h"

namespace zelvane {
namespace {

// Enough to see past the blanks that may come before a JSON document.
constexpr size_t kDetectionBytes = 4096;

bool isJsonObject(std::span<const uint8_t> bytes) {
    size_t at = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\n' || bytes[at] == '\r')) {
        ++at;
    }
    return at < bytes.size() && bytes[at] == '{';
}

bool hasMag5Magic(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'A' && bytes[2] == 'G' && bytes[3] == '5';
}

std::string reportLine(uint64_t faces, uint64_t triangles, uint64_t quads) {
    return "pc: " + std::to_string(faces) + " tpc:" + std::to_string(triangles) + " qpc: " + std::to_string(quads) +
           "\n";
}

ModelLoad loadMag5(const std::string& path, mag5::ByteReader& reader, MeshStore& store) {
    ModelLoad load;
    const LoadResult loaded = loadMagFile(reader, store);
    load.error = loaded.error.words;
    load.report = formatLoadReport(loaded.report);
    load.triangles = loaded.report.triangleCount;
    load.quads = loaded.report.quadCount;
    load.filesRead.push_back(path);
    return load;
}

ModelLoad loadOther(const std::string& path, ModelFormat format, mag5::ByteReader& reader, MeshStore& store) {
    ModelLoad load;
    std::vector<uint8_t> bytes;
    if (!reader.takeRest(bytes)) {
        load.error = reader.readError();
        return load;
    }
    ModelRead read = format == ModelFormat::kObj
                         ? readObjModel(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, store)
                         : readGltfModel(path, bytes, store);
    load.error = std::move(read.error);
    load.report = reportLine(read.faces, read.triangles, read.quads);
    load.triangles = read.triangles;
    load.quads = read.quads;
    load.warnings = std::move(read.warnings);
    if (read.leftOut > 0) {
        load.warnings.push_back(std::to_string(read.leftOut) + (read.leftOut == 1 ? " face" : " faces") +
                                " of fewer than three corners left out");
    }
    load.textureSources = std::move(read.textureSources);
    load.filesRead.push_back(path);
    load.filesRead.insert(load.filesRead.end(), read.filesRead.begin(), read.filesRead.end());
    return load;
}

}  // namespace

ModelFormat detectModelFormat(std::span<const uint8_t> firstBytes, std::string_view path) {
    if (hasMag5Magic(firstBytes)) {
        return ModelFormat::kMag5;
    }
    if (isGlb(firstBytes)) {
        return ModelFormat::kGlb;
    }
    if (isJsonObject(firstBytes)) {
        return ModelFormat::kGltf;
    }
    const std::string_view name = fileNamePart(path);
    return name.size() > 4 && equalIgnoringAsciiCase(name.substr(name.size() - 4), ".obj") ? ModelFormat::kObj
                                                                                            : ModelFormat::kMag5;
}

ModelLoad loadModel(const std::string& path, MeshStore& store) {
    mag5::ByteReader reader;
    if (std::string reason = reader.open(path); !reason.empty()) {
        ModelLoad load;
        load.error = std::move(reason);
        return load;
    }
    const ModelFormat format = detectModelFormat(reader.peek(kDetectionBytes), path);
    return format == ModelFormat::kMag5 ? loadMag5(path, reader, store) : loadOther(path, format, reader, store);
}

}  // namespace zelvane
