// The gallery page as an HTML parser reads it: the run's figures, one card
// per model in order, what each card holds, every text from a model or a
// path shown as it is and never as markup, and links that reach the files.
#include <gtest/gtest.h>

#include <filesystem>

#include "Files.h"
#include "HtmlDocument.h"
#include "TempFolder.h"
#include "gallery/GalleryPage.h"
#include "unicode/Utf8Text.h"

namespace zelvane {
namespace {

using namespace test;

GalleryCard convertedCard(const std::string& path) {
    GalleryCard card;
    card.shownPath = path;
    card.triangles = 58;
    card.quads = 206;
    const std::string base = "out/" + path.substr(0, path.rfind('.'));
    card.outputs = {base + ".obj", base + ".mtl"};
    card.picture = base + ".preview.png";
    card.pictureSize = 256;
    return card;
}

GalleryCard failedCard(const std::string& path, const std::string& reason) {
    GalleryCard card;
    card.shownPath = path;
    card.failure = "zelvane: " + path + ": " + reason;
    return card;
}

// Writes the page at pagePath below folder, with the other paths relative to
// folder, and returns its bytes.
std::string writtenPage(const TempFolder& folder, const GalleryRun& run, const std::vector<GalleryCard>& cards,
                        const std::string& pagePath = "out/gallery.html") {
    std::filesystem::create_directories(std::filesystem::path(folder.file(pagePath)).parent_path());
    GalleryRun here = run;
    here.currentFolder = folder.path();
    OutputSet outputs;
    EXPECT_TRUE(writeGalleryPage(outputs, folder.file(pagePath), here, cards));
    EXPECT_TRUE(outputs.commit());
    return readFile(folder.file(pagePath));
}

std::string attribute(xmlNodePtr node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string percentDecoded(const std::string& uri) {
    std::string bytes;
    for (size_t index = 0; index < uri.size(); ++index) {
        if (uri[index] == '%' && index + 2 < uri.size()) {
            bytes.push_back(static_cast<char>(std::stoi(uri.substr(index + 1, 2), nullptr, 16)));
            index += 2;
        } else {
            bytes.push_back(uri[index]);
        }
    }
    return bytes;
}

bool validUtf8(const std::string& text) {
    for (size_t index = 0; index < text.size();) {
        const Utf8Character character = decodeUtf8(text, index);
        if (!character.valid) {
            return false;
        }
        index += character.size;
    }
    return true;
}

TEST(GalleryPage, ShowsTheRunAndACardPerModelInOrder) {
    TempFolder folder;
    const std::vector<GalleryCard> cards{convertedCard("house.mag"), failedCard("broken.mag", "not a MAG5 file"),
                                         convertedCard("town/inn.mag")};
    const HtmlDocument page(writtenPage(folder, {2, 3, 528, ""}, cards));
    EXPECT_EQ(page.text("/html/head/title"), "Zelvane gallery: converted 2 of 3 models, 528 polygons");
    EXPECT_EQ(page.text("//p[@class='summary']"), "converted 2 of 3 models, 528 polygons");
    EXPECT_EQ(page.count("/html/head/meta[@charset='utf-8']"), 1u);
    EXPECT_EQ(page.count("/html/head/meta[@name='viewport']"), 1u);
    EXPECT_EQ(page.count("/html/head/style"), 1u);
    EXPECT_EQ(page.texts("//article/h2"), (std::vector<std::string>{"house.mag", "broken.mag", "town/inn.mag"}));
    EXPECT_EQ(page.count("//img"), 2u);
}

TEST(GalleryPage, EmptyRunStillMakesAPage) {
    TempFolder folder;
    const HtmlDocument page(writtenPage(folder, {0, 0, 1, ""}, {}));
    EXPECT_EQ(page.text("//p[@class='summary']"), "converted 0 of 0 models, 1 polygon");
    EXPECT_EQ(page.count("//article"), 0u);
}

TEST(GalleryPage, ConvertedCardShowsPictureCountsOutputsAndWarnings) {
    TempFolder folder;
    GalleryCard card = convertedCard("house.mag");
    card.warnings = {"zelvane: house.mag: texture roof.pcx: not found", "zelvane: house.mag: texture x.pcx: bad"};
    const HtmlDocument page(writtenPage(folder, {1, 1, 264, ""}, {card}));
    const std::vector<xmlNodePtr> images = page.select("//article/img");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(attribute(images[0], "src"), "house.preview.png");
    EXPECT_EQ(attribute(images[0], "width"), "256");
    EXPECT_EQ(attribute(images[0], "height"), "256");
    EXPECT_EQ(attribute(images[0], "alt"), "Picture of house.mag");
    EXPECT_EQ(page.text("//article/p[@class='counts']"), "58 triangles, 206 quads");
    EXPECT_EQ(page.texts("//article/ul[@class='outputs']/li/a"),
              (std::vector<std::string>{"out/house.obj", "out/house.mtl"}));
    std::vector<std::string> links;
    for (xmlNodePtr link : page.select("//article//a")) {
        links.push_back(attribute(link, "href"));
    }
    EXPECT_EQ(links, (std::vector<std::string>{"house.obj", "house.mtl"}));
    EXPECT_EQ(page.texts("//article/ul[@class='warnings']/li"), card.warnings);
}

TEST(GalleryPage, CountsOfOneAreSingular) {
    TempFolder folder;
    GalleryCard card = convertedCard("a.mag");
    card.triangles = 1;
    card.quads = 1;
    const HtmlDocument page(writtenPage(folder, {1, 1, 2, ""}, {card}));
    EXPECT_EQ(page.text("//p[@class='counts']"), "1 triangle, 1 quad");
}

TEST(GalleryPage, FailedCardHasItsErrorLineAndNoPictureOrOutputs) {
    TempFolder folder;
    GalleryCard failed = failedCard("broken.mag", "file ends early (inside polygon 17)");
    failed.picture = "out/broken.preview.png";  // ignored: a failed model shows none
    failed.outputs = {"out/broken.obj"};
    const HtmlDocument page(writtenPage(folder, {0, 1, 0, ""}, {failed}));
    const std::vector<xmlNodePtr> cards = page.select("//article[@class='card failed']");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(page.text("p[@class='error']", cards[0]), "zelvane: broken.mag: file ends early (inside polygon 17)");
    EXPECT_EQ(page.count(".//img", cards[0]), 0u);
    EXPECT_EQ(page.count(".//a", cards[0]), 0u);
    EXPECT_EQ(page.count(".//p[@class='counts']", cards[0]), 0u);
}

TEST(GalleryPage, ConvertedCardWithoutAPictureSaysSo) {
    TempFolder folder;
    GalleryCard card = convertedCard("house.mag");
    card.picture.clear();
    const HtmlDocument page(writtenPage(folder, {1, 1, 264, ""}, {card}));
    EXPECT_EQ(page.count("//img"), 0u);
    EXPECT_EQ(page.text("//article/div[@class='no-picture']"), "no picture");
    EXPECT_EQ(page.count("//article/ul[@class='outputs']/li"), 2u);
}

TEST(GalleryPage, TextsFromModelsAndPathsNeverBecomeMarkup) {
    TempFolder folder;
    GalleryCard tricky = convertedCard("<b>&amp;\".mag");
    tricky.outputs = {"out/\"><i>x</i>.obj"};
    tricky.warnings = {"zelvane: <b>&amp;\".mag: texture <script>alert(1)</script>.pcx: not found"};
    const GalleryCard failed = failedCard("<u>'x'</u>.mag", "</article><h2>injected</h2>");
    const std::string bytes = writtenPage(folder, {1, 2, 5, ""}, {tricky, failed});
    const HtmlDocument page(bytes);
    for (const char* element : {"//b", "//i", "//u", "//script"}) {
        EXPECT_EQ(page.count(element), 0u) << element;
    }
    EXPECT_EQ(page.count("//article"), 2u);
    EXPECT_EQ(page.texts("//article/h2"), (std::vector<std::string>{"<b>&amp;\".mag", "<u>'x'</u>.mag"}));
    EXPECT_EQ(page.text("//a"), "out/\"><i>x</i>.obj");
    EXPECT_EQ(page.text("//li[@class='warning']"), tricky.warnings[0]);
    EXPECT_EQ(page.text("//p[@class='error']"), *failed.failure);
    EXPECT_EQ(attribute(page.select("//img")[0], "alt"), "Picture of <b>&amp;\".mag");
    EXPECT_EQ(attribute(page.select("//a")[0], "href"), "%22%3E%3Ci%3Ex%3C/i%3E.obj");
}

TEST(GalleryPage, BytesThatAreNotUtf8ShowAsLatin1AndControlsAsReplacements) {
    TempFolder folder;
    GalleryCard card = convertedCard("\xE9t\xE9.mag");
    card.warnings = {"tab\there, bell\x07, caf\xC3\xA9"};
    const std::string bytes = writtenPage(folder, {1, 1, 1, ""}, {card});
    EXPECT_TRUE(validUtf8(bytes));
    const HtmlDocument page(bytes);
    EXPECT_EQ(page.text("//h2"), "\xC3\xA9t\xC3\xA9.mag");
    EXPECT_EQ(page.text("//li[@class='warning']"), "tab\there, bell\xEF\xBF\xBD, caf\xC3\xA9");
    EXPECT_EQ(attribute(page.select("//img")[0], "src"), "%E9t%E9.preview.png");
}

// No script, no style sheet or font from elsewhere: only the pictures and
// the outputs' links leave the page, and those are relative.
TEST(GalleryPage, SelfContained) {
    TempFolder folder;
    const std::string bytes = writtenPage(folder, {1, 2, 264, ""}, {convertedCard("house.mag"),
                                                                    failedCard("b.mag", "not a MAG5 file")});
    EXPECT_TRUE(bytes.starts_with("<!DOCTYPE html>\n"));
    for (const char* absent : {"<script", "<link", "url(", "@import", "http:", "https:", "//"}) {
        EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;
    }
    const HtmlDocument page(bytes);
    EXPECT_EQ(page.count("//*[@src]"), page.count("//img"));
    EXPECT_EQ(page.count("//*[@href]"), page.count("//a"));
}

// Every link, resolved against the page's folder and percent-decoded,
// names the file it is for, from a page in another folder than the files.
TEST(GalleryPage, LinksReachTheirFilesFromThePagesFolder) {
    TempFolder folder;
    const std::vector<std::string> names{"out/<b>&.obj", "out/100% #1?.png", "out/sub dir/\xE9t\xE9.mtl",
                                         folder.file("out/absolute.obj")};
    for (const std::string& name : names) {
        const std::filesystem::path path = name.starts_with('/') ? name : folder.file(name);
        std::filesystem::create_directories(path.parent_path());
        writeFile(path.string(), std::string("x"));
    }
    GalleryCard card = convertedCard("m.mag");
    card.outputs = names;
    card.picture = "out\\100% #1?.png";
    const HtmlDocument page(writtenPage(folder, {1, 1, 1, ""}, {card}, "pages/deeper/gallery.html"));
    std::vector<std::string> targets;
    for (xmlNodePtr node : page.select("//a/@href | //img/@src")) {
        targets.push_back(percentDecoded(textOf(node)));
    }
    ASSERT_EQ(targets.size(), names.size() + 1);
    for (const std::string& target : targets) {
        EXPECT_TRUE(target.starts_with("../../out/")) << target;
        EXPECT_TRUE(std::filesystem::is_regular_file(folder.file("pages/deeper/" + target))) << target;
    }
}

TEST(GalleryPage, AppearsOnlyWithTheCommit) {
    TempFolder folder;
    OutputSet outputs;
    ASSERT_TRUE(writeGalleryPage(outputs, folder.file("gallery.html"), {1, 1, 1, folder.path()},
                                 {convertedCard("a.mag")}));
    EXPECT_FALSE(std::filesystem::exists(folder.file("gallery.html")));
    ASSERT_TRUE(outputs.commit());
    EXPECT_TRUE(std::filesystem::exists(folder.file("gallery.html")));
}

TEST(GalleryPage, MissingFolderFailsNamingThePage) {
    TempFolder folder;
    OutputSet outputs;
    EXPECT_FALSE(writeGalleryPage(outputs, folder.file("no/gallery.html"), {1, 1, 1, folder.path()}, {}));
    ASSERT_TRUE(outputs.error());
    EXPECT_EQ(outputs.error()->path, folder.file("no/gallery.html"));
    EXPECT_EQ(outputs.error()->reason, "No such file or directory");
}

}  // namespace
}  // namespace zelvane
