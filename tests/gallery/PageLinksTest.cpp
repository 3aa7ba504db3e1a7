// Links from the gallery page to the files it shows, made from the paths'
// text: relative to the page's folder wherever the page is, each name
// percent-encoded, and file: URIs where no relative link reaches.
#include <gtest/gtest.h>

#include "gallery/PageLinks.h"

namespace zelvane {
namespace {

constexpr const char* kHere = "/home/ann/run";

std::string linkFrom(const std::string& page, const std::string& target, const std::string& current = kHere) {
    return PageLinks(page, current).linkTo(target);
}

TEST(PageLinks, PageBesideTheOutputsLinksByName) {
    EXPECT_EQ(linkFrom("out/gallery.html", "out/house.obj"), "house.obj");
    EXPECT_EQ(linkFrom("out/gallery.html", "out/town/inn.preview.png"), "town/inn.preview.png");
    EXPECT_EQ(linkFrom("gallery.html", "house.obj"), "house.obj");
}

TEST(PageLinks, PageInAnotherFolderGoesUpThenDown) {
    EXPECT_EQ(linkFrom("pages/gallery.html", "out/house.obj"), "../out/house.obj");
    EXPECT_EQ(linkFrom("a/b/c/gallery.html", "a/x/house.obj"), "../../x/house.obj");
    EXPECT_EQ(linkFrom("pages/gallery.html", "house.obj"), "../house.obj");
}

TEST(PageLinks, PageAboveTheOutputsGoesDown) {
    EXPECT_EQ(linkFrom("gallery.html", "out/town/inn.obj"), "out/town/inn.obj");
    EXPECT_EQ(linkFrom("../gallery.html", "out/inn.obj"), "run/out/inn.obj");
}

TEST(PageLinks, AbsoluteAndRelativePathsMeetInTheCurrentFolder) {
    EXPECT_EQ(linkFrom("/home/ann/run/out/gallery.html", "out/inn.obj"), "inn.obj");
    EXPECT_EQ(linkFrom("out/gallery.html", "/home/ann/run/out/inn.obj"), "inn.obj");
    EXPECT_EQ(linkFrom("/srv/pages/gallery.html", "/home/bob/inn.obj"), "../../home/bob/inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "/inn.obj"), "../../../inn.obj");
    EXPECT_EQ(linkFrom("/gallery.html", "inn.obj"), "home/ann/run/inn.obj");
}

TEST(PageLinks, DotsAndDoubledSeparatorsResolveByName) {
    EXPECT_EQ(linkFrom("./out//gallery.html", "out/./sub/../inn.obj"), "inn.obj");
    EXPECT_EQ(linkFrom("out/gallery.html", "../run/out/inn.obj"), "inn.obj");
    EXPECT_EQ(linkFrom("/gallery.html", "/../../inn.obj"), "inn.obj");  // nothing above the root
    EXPECT_EQ(linkFrom("out/gallery.html", "out/sub/.."), "./");
}

TEST(PageLinks, BackslashesSeparateFoldersToo) {
    EXPECT_EQ(linkFrom("out\\gallery.html", "out\\town\\inn.obj"), "town/inn.obj");
    EXPECT_EQ(linkFrom("pages/gallery.html", "out\\inn.obj"), "../out/inn.obj");
    EXPECT_EQ(linkFrom("out/gallery.html", "\\home\\ann\\run\\out\\inn.obj"), "inn.obj");
}

TEST(PageLinks, EachNameIsPercentEncodedAndTheSlashesStay) {
    EXPECT_EQ(linkFrom("gallery.html", "<b>&.mag"), "%3Cb%3E&.mag");
    EXPECT_EQ(linkFrom("gallery.html", "100%/a#1?.obj"), "100%25/a%231%3F.obj");
    EXPECT_EQ(linkFrom("gallery.html", "my models/old house.obj"), "my%20models/old%20house.obj");
    EXPECT_EQ(linkFrom("gallery.html", "caf\xC3\xA9/\xE9t\xE9.obj"), "caf%C3%A9/%E9t%E9.obj");
    EXPECT_EQ(linkFrom("gallery.html", "\"quoted\" 'name'.obj"), "%22quoted%22%20'name'.obj");
    // A first name with a colon must not read as a scheme.
    EXPECT_EQ(linkFrom("gallery.html", "C:/inn.obj"), "C%3A/inn.obj");
    EXPECT_EQ(linkFrom("sp ace/gallery.html", "sp ace/inn.obj"), "inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "/home/ann/x y/inn.obj", "/home/ann/x y"), "inn.obj");
}

TEST(PageLinks, WindowsDrivesIgnoreLetterCase) {
    const std::string current = "C:\\Users\\ann";
    EXPECT_EQ(linkFrom("C:\\Out\\gallery.html", "c:\\out\\inn.obj", current), "inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "models\\inn.obj", current), "models/inn.obj");
    EXPECT_EQ(linkFrom("C:/Out/gallery.html", "models/inn.obj", current), "../Users/ann/models/inn.obj");
    EXPECT_EQ(linkFrom("c:\\users\\ANN\\g.html", "inn.obj", current), "inn.obj");
}

TEST(PageLinks, WindowsRootsWithoutAFolder) {
    const std::string current = "C:\\Users\\ann";
    // A separator first: the current drive's root.
    EXPECT_EQ(linkFrom("gallery.html", "\\games\\inn.obj", current), "../../games/inn.obj");
    // A drive without a separator: on from the current folder when it is that drive's.
    EXPECT_EQ(linkFrom("gallery.html", "c:out\\inn.obj", current), "out/inn.obj");
    EXPECT_EQ(linkFrom("D:\\gallery.html", "D:out\\inn.obj", current), "out/inn.obj");
}

TEST(PageLinks, AnotherDriveOrShareGetsAFileUri) {
    const std::string current = "C:\\Users\\ann";
    EXPECT_EQ(linkFrom("gallery.html", "D:\\Games\\old inn.obj", current), "file:///D:/Games/old%20inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "d:/#1/inn.obj", current), "file:///D:/%231/inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "\\\\nas\\models\\a b\\inn.obj", current),
              "file://nas/models/a%20b/inn.obj");
    EXPECT_EQ(linkFrom("D:\\gallery.html", "inn.obj", current), "file:///C:/Users/ann/inn.obj");
}

TEST(PageLinks, OneShareLinksWithinItself) {
    const std::string current = "\\\\nas\\models\\run";
    EXPECT_EQ(linkFrom("gallery.html", "out\\inn.obj", current), "out/inn.obj");
    EXPECT_EQ(linkFrom("\\\\NAS\\Models\\gallery.html", "\\\\nas\\models\\run\\inn.obj", current), "run/inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "\\\\nas\\other\\inn.obj", current), "file://nas/other/inn.obj");
    EXPECT_EQ(linkFrom("gallery.html", "\\top.obj", current), "../top.obj");
}

TEST(PageLinks, PosixNamesKeepTheirLetterCase) {
    EXPECT_EQ(linkFrom("Out/gallery.html", "out/inn.obj"), "../out/inn.obj");
}

}  // namespace
}  // namespace zelvane
