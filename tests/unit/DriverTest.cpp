#include <gtest/gtest.h>

#include <sstream>

#include "driver/CommandLine.h"
#include "driver/Driver.h"
#include "driver/OutputNames.h"

namespace zelvane {
namespace {

TEST(CommandLine, SceneOptionIgnoresAsciiCaseOnly) {
    for (const char* option : {"-quazo", "-QUAZO", "-QuAzO"}) EXPECT_TRUE(isSceneOption(option)) << option;
    for (const char* other : {"--quazo", "-quazo2", "+quazo", "-quaz", "quazo", "-quazó", "-qu\xC3\x80zo", ""}) {
        EXPECT_FALSE(isSceneOption(other)) << other;
    }
}

TEST(CommandLine, OptionAnywhereAndModelsInOrder) {
    const CommandLine commandLine = parseCommandLine({"a.mag", "-Quazo", "--quazo", "b.mag", "-quazo"});
    EXPECT_EQ(commandLine.format, OutputFormat::kScene);
    EXPECT_EQ(commandLine.modelPaths, (std::vector<std::string>{"a.mag", "--quazo", "b.mag"}));
    EXPECT_EQ(parseCommandLine({"a.mag"}).format, OutputFormat::kObj);
    EXPECT_FALSE(parseCommandLine({"a.mag"}).textures);
}

TEST(CommandLine, TextureOptionsAndOneOutputFormat) {
    const CommandLine textured =
        parseCommandLine({"--texture-dir", "a.mag", "m.mag", "--texture-dir", "--glb", "--glb", "--gltf"});
    EXPECT_EQ(textured.request, Request::kBadUsage);
    EXPECT_EQ(textured.usageError, "--glb and --gltf cannot be used together");
    EXPECT_EQ(textured.textureFolders, (std::vector<std::string>{"a.mag", "--glb"}));
    EXPECT_EQ(textured.modelPaths, (std::vector<std::string>{"m.mag"}));

    const CommandLine glb = parseCommandLine({"m.mag", "--glb", "--glb"});
    EXPECT_EQ(glb.request, Request::kConvert);
    EXPECT_EQ(glb.format, OutputFormat::kGlb);
    EXPECT_TRUE(glb.textures) << "glTF output always has its images";
    EXPECT_EQ(parseCommandLine({"-QUAZO", "m.mag", "--gltf"}).usageError, "-QUAZO and --gltf cannot be used together");
    EXPECT_EQ(parseCommandLine({"m.mag", "--texture-dir"}).usageError, "--texture-dir needs a folder");
    EXPECT_TRUE(parseCommandLine({"--textures", "m.mag", "-quazo"}).textures);
    EXPECT_TRUE(parseCommandLine({"m.mag", "--texture-dir", "t"}).textures);
    EXPECT_EQ(parseCommandLine({"--glb", "-quazo", "--help"}).request, Request::kHelp);
}

TEST(CommandLine, EachAndOutputFolder) {
    const CommandLine commandLine = parseCommandLine({"game", "--output-dir", "out", "--each", "x.mag"});
    EXPECT_TRUE(commandLine.each);
    EXPECT_EQ(commandLine.outputFolder, "out");
    EXPECT_EQ(commandLine.modelPaths, (std::vector<std::string>{"game", "x.mag"}));
    EXPECT_FALSE(parseCommandLine({"x.mag"}).each);
    EXPECT_EQ(parseCommandLine({"x.mag", "--output-dir"}).usageError, "--output-dir needs a folder");
}

TEST(OutputNames, OutputFolderTakesThePathBelowTheModelsFolder) {
    EXPECT_EQ(outputBaseFor("game/sub/ship.lod1.mag", "", "sub/ship.lod1.mag"), "game/sub/ship");
    EXPECT_EQ(outputBaseFor("game/sub/ship.lod1.mag", "out", "sub/ship.lod1.mag"), "out/sub/ship");
    EXPECT_EQ(outputBaseFor("game/sub/ship.mag", "out/", "ship.mag"), "out/ship");
    EXPECT_EQ(outputBaseFor("game\\ship.mag", "C:\\out\\", "ship.mag"), "C:\\out\\ship");
}

TEST(OutputNames, BaseNameCutsAtTheFirstDotOfTheFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"ship.mag", "ship"},
        {"ship", "ship"},
        {"ship.lod1.mag", "ship"},
        {"models/ship.mag", "models/ship"},
        {"old.models/ship.mag", "old.models/ship"},
        {"../ship.mag", "../ship"},
        {"./ship.mag", "./ship"},
        {".hidden.mag", ".hidden"},
        {".hidden", ".hidden"},
        {"C:\\old.models\\ship.mag", "C:\\old.models\\ship"},
        {"/abs/dir.d/x.y.z", "/abs/dir.d/x"},
    };
    for (const auto& [path, base] : cases) EXPECT_EQ(baseNameOf(path), base) << path;
}

struct DriverRun {
    int status;
    std::string out;
    std::string err;
};

DriverRun run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runZelvane(arguments, out, err);
    return {status, out.str(), err.str()};
}

constexpr const char* kUsage =
    "Zelvane - The Darvonelle Converter [R0.1.4]\n"
    "zelvane <MAG FILE> [-quazo]\n"
    "get the quazo renderer at:\n"
    "https://quazo.example.org/\n";

TEST(Driver, WithoutModelPathPrintsUsage) {
    for (const auto& arguments : {std::vector<std::string>{}, std::vector<std::string>{"-quazo"},
                                  std::vector<std::string>{"-QUAZO", "-quazo"}}) {
        const DriverRun result = run(arguments);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_EQ(result.out, kUsage);
        EXPECT_EQ(result.err, "");
    }
}

// Asked for, usage and version are a success; a model of such a name is
// reached through a folder.
TEST(Driver, HelpAndVersionAnywhere) {
    for (const char* help : {"--help", "-h"}) {
        const DriverRun result = run({"/nonexistent/a.mag", help, "--version"});
        EXPECT_EQ(result.status, kExitSuccess) << help;
        EXPECT_TRUE(result.out.starts_with(std::string(kUsage) + "options:\n")) << result.out;
        EXPECT_NE(result.out.find("\n  --texture-dir DIR  "), std::string::npos) << result.out;
        EXPECT_EQ(result.err, "") << help;
    }
    const DriverRun version = run({"-quazo", "--version", "--help"});
    EXPECT_EQ(version.status, kExitSuccess);
    EXPECT_EQ(version.out, "Zelvane - The Darvonelle Converter [R0.1.4]\n");
    const DriverRun model = run({"./--help"});
    EXPECT_EQ(model.status, kExitFailure);
    EXPECT_EQ(model.err, "zelvane: ./--help: No such file or directory\n");
}

TEST(Driver, TwoOutputFormatsAreAUsageError) {
    const DriverRun result = run({"/nonexistent/a.mag", "--gltf", "-quazo"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.out, "Zelvane - The Darvonelle Converter [R0.1.4]\n");
    EXPECT_EQ(result.err, "zelvane: --gltf and -quazo cannot be used together\n");
}

TEST(Driver, LoadFailureIsOneLineOnStandardError) {
    const DriverRun result = run({"/nonexistent/zelvane/model.mag"});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.out, "Zelvane - The Darvonelle Converter [R0.1.4]\n");
    EXPECT_EQ(result.err, "zelvane: /nonexistent/zelvane/model.mag: No such file or directory\n");
}

}  // namespace
}  // namespace zelvane
