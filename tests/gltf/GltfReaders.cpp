#include "GltfReaders.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "Files.h"
#include "TempFolder.h"

namespace zelvane::test {
namespace {

using nlohmann::json;

CommandResult runScript(const std::string& script, const std::string& path,
                        const std::vector<std::string>& options = {}) {
    std::vector<std::string> arguments{std::string(ZELVANE_GLTF_SCRIPTS) + "/" + script, path};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return runProgram(ZELVANE_NODE, arguments, systemTemporaryFolder());
}

size_t countAfter(const std::string& text, const std::string& label) {
    const size_t start = text.find(label + ": ");
    return start == std::string::npos ? SIZE_MAX : std::stoul(text.substr(start + label.size() + 2));
}

std::vector<uint8_t> bytesOfHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

GltfCornerRead cornerOf(const json& values) {
    GltfCornerRead corner;
    for (size_t k = 0; k < 3; ++k) {
        corner.position[k] = values.at(k).get<double>();
        corner.normal[k] = values.at(3 + k).get<double>();
    }
    if (!values.at(6).is_null()) {
        corner.texcoord = std::array<double, 2>{values.at(6).get<double>(), values.at(7).get<double>()};
    }
    return corner;
}

GltfTriangleRead triangleOf(const json& line) {
    GltfTriangleRead triangle;
    for (size_t k = 0; k < 3; ++k) {
        triangle.corners[k] = cornerOf(line.at("corners").at(k));
        triangle.colour[k] = line.at("colour").at(k).get<double>();
    }
    triangle.colour[3] = line.at("colour").at(3).get<double>();
    if (!line.at("colourChannel4").is_null()) {
        triangle.colourChannel4 = line.at("colourChannel4").get<double>();
    }
    triangle.metalness = line.at("metalness").get<double>();
    triangle.roughness = line.at("roughness").get<double>();
    if (!line.at("image").is_null()) {
        triangle.image = line.at("image").get<size_t>();
    }
    triangle.material = line.at("material").get<std::string>();
    return triangle;
}

void readRecord(GltfReading& reading, const json& line) {
    if (line.contains("corners")) {
        reading.triangles.push_back(triangleOf(line));
        return;
    }
    if (line.at("image").get<size_t>() != reading.images.size()) {
        throw std::runtime_error("images out of order");
    }
    reading.images.push_back({line.at("file").get<std::string>(), line.at("mimeType").get<std::string>(),
                              bytesOfHex(line.at("bytes").get<std::string>())});
}

}  // namespace

ValidatorReport validateGltf(const std::string& path, const std::vector<std::string>& allowedInfos) {
    const CommandResult result = runScript("validate.mjs", path, allowedInfos);
    ValidatorReport report;
    report.status = result.status;
    report.text = result.out + result.err;
    report.errors = countAfter(result.out, "numErrors");
    report.warnings = countAfter(result.out, "numWarnings");
    report.infos = countAfter(result.out, "numInfos");
    report.hints = countAfter(result.out, "numHints");
    report.triangles = countAfter(result.out, "triangles");
    return report;
}

GltfReading readGltf(const std::string& path) {
    const CommandResult result = runScript("readback.mjs", path);
    GltfReading reading;
    if (result.status != 0) {
        reading.error = "readback.mjs ended with status " + std::to_string(result.status) + ": " + result.err;
        return reading;
    }
    std::istringstream lines(result.out);
    try {
        for (std::string line; std::getline(lines, line);) {
            readRecord(reading, json::parse(line));
        }
    } catch (const std::exception& error) {
        reading.error = std::string("unexpected output from readback.mjs: ") + error.what();
    }
    return reading;
}

std::vector<GltfSweptFile> sweepGltfFolder(const std::string& folder) {
    const CommandResult result = runScript("sweep.mjs", folder);
    if (result.status != 0) {
        throw std::runtime_error("sweep.mjs ended with status " + std::to_string(result.status) + ": " + result.err);
    }
    std::vector<GltfSweptFile> files;
    std::istringstream lines(result.out);
    for (std::string text; std::getline(lines, text);) {
        const json line = json::parse(text);
        GltfSweptFile& file = files.emplace_back();
        file.file = line.at("file").get<std::string>();
        file.report.errors = line.at("errors").get<size_t>();
        file.report.warnings = line.at("warnings").get<size_t>();
        file.report.infos = line.at("infos").get<size_t>();
        file.report.hints = line.at("hints").get<size_t>();
        file.codes = line.at("codes").get<std::vector<std::string>>();
        if (!line.at("error").is_null()) {
            file.reading.error = line.at("error").get<std::string>();
        }
        for (const json& record : line.at("records")) {
            readRecord(file.reading, record);
        }
    }
    return files;
}

}  // namespace zelvane::test
