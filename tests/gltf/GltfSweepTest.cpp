// Hundreds of small random models, of the kind game files are (vertices
// that share a position, polygons that name one vertex twice), converted
// with --each in both glTF forms: the validator must report nothing at all,
// and three.js must find exactly the triangles with three different
// positions.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "GltfFaces.h"
#include "GltfModels.h"
#include "GltfReaders.h"
#include "TinyPng.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

constexpr uint32_t kModelCount = 300;
constexpr size_t kFilesReported = 10;

std::string modelName(uint32_t model) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "m%03u", model);
    return name.data();
}

// What the validator and three.js found wrong with the outputs, a line per
// file, and a count of files with each message code.
std::string sweepProblems(const std::string& folder, const std::vector<Mag5ModelSpec>& models,
                          const TextureImages& images, const std::string& ending) {
    const std::vector<GltfSweptFile> files = sweepGltfFolder(folder);
    std::ostringstream problems;
    if (files.size() != models.size()) {
        problems << files.size() << " files for " << models.size() << " models\n";
    }
    std::map<std::string, size_t> filesWithCode;
    size_t filesWithProblems = 0;
    for (size_t k = 0; k < files.size() && k < models.size(); ++k) {
        const GltfSweptFile& file = files[k];
        std::set<std::string> codes(file.codes.begin(), file.codes.end());
        for (const std::string& code : codes) {
            ++filesWithCode[code];
        }
        const std::string unpaired =
            file.reading.error.empty()
                ? unpairedTriangles(withArea(expectedTriangles({models[k]}, images)), file.reading)
                : file.reading.error;
        const bool wrong = file.file != modelName(static_cast<uint32_t>(k)) + ending || !codes.empty() ||
                           !unpaired.empty();
        if (wrong && ++filesWithProblems <= kFilesReported) {
            problems << file.file << ": " << file.report.errors << " errors, " << file.report.warnings
                     << " warnings, " << file.report.infos << " infos\n" << unpaired;
        }
    }
    if (filesWithProblems > kFilesReported) {
        problems << "and " << filesWithProblems - kFilesReported << " more files\n";
    }
    for (const auto& [code, count] : filesWithCode) {
        problems << code << " in " << count << " of " << files.size() << " files\n";
    }
    return problems.str();
}

TEST(GltfSweep, RandomModelsValidateWithoutAnyMessageAndReadBack) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("models"));
    std::vector<Mag5ModelSpec> models;
    for (uint32_t model = 0; model < kModelCount; ++model) {
        models.push_back(randomModel(model));
        saveModel(models.back(), folder.file("models/" + modelName(model) + ".mag"));
    }
    const std::vector<uint8_t> png = solidPng(2, 2, {200, 180, 20});
    writeFile(folder.file("models/a.png"), png);
    const TextureImages images{{"a.png", pngTextureFile("a.png", png)}};
    for (const std::string form : {"glb", "gltf"}) {
        const CommandResult run = runZelvaneIn(folder, {"--each", "models", "--" + form, "--output-dir", form});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(sweepProblems(folder.file(form), models, images, "." + form), "") << form;
    }
}

}  // namespace
}  // namespace zelvane::test
