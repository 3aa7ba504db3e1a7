// Outputs whose paths are symbolic links are written through them, as
// opening them for writing would, and replaced outputs keep their
// permission bits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

void makeLink(const std::string& target, const std::string& path) {
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
}

std::string linkTarget(const std::string& path) {
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

mode_t permissionsOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 0777;
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Every name in a folder, links and folders too.
std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Texts with group identifiers named by structure, in the order given.
std::string structureOf(const std::vector<std::string>& texts) {
    GroupIdNames ids;
    std::string all;
    for (const std::string& text : texts) all += ids.replaceIn(text) + "\n==\n";
    return all;
}

// A link to a file beside it, a link to a file in another folder, a chain of
// two links ending in a file not yet there, and a loop.
TEST(OutputLinks, ReplaceTheFileTheyNameAndStay) {
    TempFolder plain;
    saveModel(smallModel(), plain.file("m.mag"));
    ASSERT_EQ(runZelvaneIn(plain, {"m.mag"}).status, 0);
    ASSERT_EQ(runZelvaneIn(plain, {"m.mag", "-quazo"}).status, 0);

    TempFolder folder;
    const std::string elsewhere = folder.file("elsewhere");
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0755), 0);
    saveModel(smallModel(), folder.file("m.mag"));
    writeFile(folder.file("m-real.obj"), std::string("earlier obj"));
    writeFile(elsewhere + "/lib.mtl", std::string("earlier mtl"));
    ASSERT_EQ(chmod(folder.file("m-real.obj").c_str(), 0600), 0);
    ASSERT_EQ(chmod((elsewhere + "/lib.mtl").c_str(), 0640), 0);
    makeLink("m-real.obj", folder.file("m.obj"));
    makeLink(elsewhere + "/lib.mtl", folder.file("m.mtl"));

    const CommandResult obj = runZelvaneIn(folder, {"m.mag"});
    EXPECT_EQ(obj.status, 0) << obj.err;
    EXPECT_EQ(linkTarget(folder.file("m.obj")), "m-real.obj");
    EXPECT_EQ(linkTarget(folder.file("m.mtl")), elsewhere + "/lib.mtl");
    EXPECT_EQ(structureOf({readFile(folder.file("m-real.obj")), readFile(elsewhere + "/lib.mtl")}),
              structureOf({readFile(plain.file("m.obj")), readFile(plain.file("m.mtl"))}));
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"elsewhere", "m.mag", "m.obj", "m.mtl", "m-real.obj"}));
    EXPECT_EQ(namesIn(elsewhere), std::set<std::string>{"lib.mtl"});
    if (underRunner()) {
        GTEST_SKIP() << "the Windows build under wine keeps no permission bits and sees no dangling link or loop";
    }
    EXPECT_EQ(permissionsOf(folder.file("m-real.obj")), 0600u);
    EXPECT_EQ(permissionsOf(elsewhere + "/lib.mtl"), 0640u);

    // The hop's target counts from the hop's folder: elsewhere/made.xml.
    makeLink("elsewhere/hop.xml", folder.file("m.xml"));
    makeLink("made.xml", elsewhere + "/hop.xml");
    const CommandResult scene = runZelvaneIn(folder, {"m.mag", "-quazo"});
    EXPECT_EQ(scene.status, 0) << scene.err;
    EXPECT_EQ(linkTarget(folder.file("m.xml")), "elsewhere/hop.xml");
    EXPECT_EQ(linkTarget(elsewhere + "/hop.xml"), "made.xml");
    EXPECT_EQ(structureOf({readFile(elsewhere + "/made.xml")}), structureOf({readFile(plain.file("m.xml"))}));
    EXPECT_EQ(permissionsOf(elsewhere + "/made.xml"), newFileMode());
    EXPECT_EQ(namesIn(folder.path()).size(), 5u + 1u + 2u);  // and the scene and its two mesh files
    EXPECT_EQ(namesIn(elsewhere), (std::set<std::string>{"hop.xml", "lib.mtl", "made.xml"}));

    makeLink("m.obj", folder.file("loop.obj"));
    ASSERT_EQ(unlink(folder.file("m.obj").c_str()), 0);
    makeLink("loop.obj", folder.file("m.obj"));
    const auto before = namesIn(folder.path());
    const CommandResult loop = runZelvaneIn(folder, {"m.mag"});
    EXPECT_EQ(loop.status, 2);
    EXPECT_EQ(loop.err, "zelvane: m.obj: Too many levels of symbolic links\n");
    EXPECT_EQ(namesIn(folder.path()), before);
    EXPECT_EQ(linkTarget(folder.file("m.obj")), "loop.obj");
}

}  // namespace
}  // namespace zelvane::test
