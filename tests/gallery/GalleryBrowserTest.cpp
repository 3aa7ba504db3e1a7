// A real run's gallery page as headless Chromium shows it: `zelvane --each`
// over a folder of models with --gallery, then browse.mjs opens the page and
// reports its cards, pictures, links, requests and layout.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

using nlohmann::json;

constexpr const char* kTextures[] = {"brick.pcx", "planks.pcx", "roof_tiles.pcx", "window.pcx"};
constexpr uint32_t kDesktopWidth = 1280;
constexpr uint32_t kDesktopHeight = 800;
constexpr int kPhoneWidth = 390;

struct PngSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

uint32_t bigEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
        value = value << 8 | static_cast<uint8_t>(bytes[at + k]);
    }
    return value;
}

// The size in a PNG file's header; 0 by 0 when the file is not a PNG.
PngSize pngSize(const std::string& path) {
    const std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
        return {};
    }
    return {bigEndian32(bytes, 16), bigEndian32(bytes, 20)};
}

// The lines of a text that start with prefix.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : outputLines(text)) {
        if (line.starts_with(prefix)) {
            found.push_back(line);
        }
    }
    return found;
}

// The sum of the count lines of the run's models.
size_t countLineSum(const std::string& out) {
    size_t sum = 0;
    for (const std::string& line : linesStartingWith(out, "obj pcount: ")) {
        sum += std::stoul(line.substr(line.find(": ") + 2));
    }
    return sum;
}

json browse(const std::string& page, const std::string& screenshot) {
    const CommandResult result = runProgram(
        ZELVANE_NODE, {std::string(ZELVANE_GALLERY_SCRIPTS) + "/browse.mjs", page, screenshot, ZELVANE_CHROMIUM},
        systemTemporaryFolder());
    if (result.status != 0) {
        throw std::runtime_error("browse.mjs ended with status " + std::to_string(result.status) + ": " + result.err);
    }
    return json::parse(result.out);
}

// game/ holds the sample house with its textures, two copies of the small
// model (one below a folder with a blank in its name), a model whose name
// is markup, and a truncated copy of the house. The page goes to pages/,
// which the run makes, beside the outputs' folder, so that its links go up
// and down again.
class GalleryInChromium : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path game = folder_.file("game");
        std::filesystem::create_directories(game / "sub dir");
        std::filesystem::copy_file(ZELVANE_SAMPLE, game / "house.mag");
        for (const char* texture : kTextures) {
            std::filesystem::copy_file(std::filesystem::path(ZELVANE_SAMPLE).parent_path() / texture, game / texture);
        }
        saveModel(smallModel(), folder_.file("game/small.mag"));
        saveModel(smallModel(), folder_.file("game/sub dir/small #2.mag"));
        saveModel(smallModel(), folder_.file("game/<b>&.mag"));
        const std::string house = readFile(ZELVANE_SAMPLE);
        writeFile(folder_.file("game/broken.mag"), house.substr(0, house.size() / 2));
    }

    TempFolder folder_;
};

TEST_F(GalleryInChromium, EveryCardPictureAndLinkWorks) {
    const CommandResult run = runZelvaneIn(
        folder_, {"--each", "game", "--textures", "--gallery", "pages/gallery.html", "--output-dir", "out"});
    ASSERT_EQ(run.status, 2) << run.err;
    const std::vector<std::string> brokenLines = linesStartingWith(run.err, "zelvane: game/broken.mag: ");
    ASSERT_EQ(brokenLines.size(), 1u) << run.err;

    const std::string screenshot = folder_.file("screenshot.png");
    const json page = browse(folder_.file("pages/gallery.html"), screenshot);
    EXPECT_EQ(page.at("title"), "Zelvane gallery: converted 4 of 5 models, " + std::to_string(countLineSum(run.out)) +
                                    " polygons");

    const json& cards = page.at("cards");
    std::vector<std::string> paths;
    for (const json& card : cards) {
        paths.push_back(card.at("path"));
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"<b>&.mag", "broken.mag", "house.mag", "small.mag",
                                               "sub dir/small #2.mag"}));
    for (const json& card : cards) {
        const std::string path = card.at("path");
        SCOPED_TRACE(path);
        if (path == "broken.mag") {
            EXPECT_TRUE(card.at("failed").get<bool>());
            EXPECT_EQ(card.at("error"), brokenLines[0]);
            EXPECT_TRUE(card.at("images").empty());
            continue;
        }
        EXPECT_FALSE(card.at("failed").get<bool>());
        ASSERT_EQ(card.at("images").size(), 1u);
        const json& image = card.at("images")[0];
        EXPECT_TRUE(image.at("decoded").get<bool>());
        EXPECT_TRUE(image.at("complete").get<bool>());
        EXPECT_GT(image.at("naturalWidth").get<int>(), 0);
        EXPECT_EQ(image.at("naturalWidth"), image.at("width"));
        EXPECT_EQ(image.at("naturalHeight"), image.at("height"));
        const PngSize onDisk = pngSize(image.at("file"));
        EXPECT_EQ(image.at("naturalWidth"), onDisk.width);
        EXPECT_EQ(image.at("naturalHeight"), onDisk.height);
        EXPECT_EQ(card.at("warnings").get<std::vector<std::string>>(),
                  linesStartingWith(run.err, "zelvane: game/" + path + ": texture "));
    }

    // The markup in a model's name shows as text.
    EXPECT_EQ(page.at("injected"), 0);

    // Every link and picture names a file that is there, and only files
    // were asked for.
    EXPECT_FALSE(page.at("links").empty());
    for (const json& link : page.at("links")) {
        EXPECT_TRUE(link.at("exists").get<bool>()) << link.dump();
    }
    for (const json& request : page.at("requests")) {
        EXPECT_TRUE(request.get<std::string>().starts_with("file:///")) << request;
    }

    const PngSize shot = pngSize(screenshot);
    EXPECT_EQ(shot.width, kDesktopWidth);
    EXPECT_EQ(shot.height, kDesktopHeight);
    EXPECT_GT(page.at("desktop").at("columns").get<int>(), 1);
    EXPECT_LE(page.at("desktop").at("scrollWidth").get<int>(), static_cast<int>(kDesktopWidth));
    EXPECT_EQ(page.at("phone").at("viewportWidth"), kPhoneWidth);
    EXPECT_LE(page.at("phone").at("scrollWidth").get<int>(), kPhoneWidth);
    EXPECT_EQ(page.at("phone").at("columns"), 1);
}

}  // namespace
}  // namespace zelvane::test
