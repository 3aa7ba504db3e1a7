// glTF files as independent readers see them: the Khronos validator and
// three.js's GLTFLoader, run by Node.js on validate.mjs and readback.mjs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvane::test {

struct ValidatorReport {
    int status = -1;  // of validate.mjs: 0 clean, 1 with errors, warnings or infos not allowed
    size_t errors = 0;
    size_t warnings = 0;
    size_t infos = 0;
    size_t hints = 0;
    size_t triangles = 0;
    std::string text;  // everything it printed, for messages
};

// allowedInfos: codes of infos that do not count against the file, such as
// IMAGE_NPOT_DIMENSIONS for images whose sizes are not powers of two, which
// glTF allows.
ValidatorReport validateGltf(const std::string& path, const std::vector<std::string>& allowedInfos = {});

struct GltfImageRead {
    std::string file;  // the decoded URI, or the embedded image's name
    std::string mimeType;
    std::vector<uint8_t> bytes;
};

struct GltfCornerRead {
    std::array<double, 3> position{};
    std::array<double, 3> normal{};
    std::optional<std::array<double, 2>> texcoord;
};

struct GltfTriangleRead {
    std::array<GltfCornerRead, 3> corners;
    std::array<double, 4> colour{};  // the base colour factor
    std::optional<double> colourChannel4;
    double metalness = -1;
    double roughness = -1;
    std::optional<size_t> image;
    std::string material;
};

struct GltfReading {
    std::vector<GltfImageRead> images;
    std::vector<GltfTriangleRead> triangles;
    std::string error;  // why the file could not be read, or ""
};

GltfReading readGltf(const std::string& path);

// One file of a folder as both readers see it.
struct GltfSweptFile {
    std::string file;  // its name in the folder
    ValidatorReport report;  // without status and triangles
    std::vector<std::string> codes;  // of every message
    GltfReading reading;
};

// Every .glb and .gltf file of a folder, in name order, through the
// validator and three.js in one Node.js process (sweep.mjs). Throws when
// the script fails.
std::vector<GltfSweptFile> sweepGltfFolder(const std::string& folder);

}  // namespace zelvane::test
