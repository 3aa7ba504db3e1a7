#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "TempFolder.h"
#include "os/FolderLookup.h"

namespace zelvane {
namespace {

using namespace test;

TEST(FolderLookup, RefusesNamesThatLeaveTheFolder) {
    for (const char* name : {"", "/etc/passwd", "\\\\server\\share\\a.pcx", "C:a.pcx", "c:\\tex\\a.pcx", "tex/a:b.pcx",
                             "../a.pcx", "tex/../../a.pcx", "tex\\..\\a.pcx", "..", ". ./a.pcx", ".../a.pcx",
                             "tex/.. /a.pcx"}) {
        EXPECT_NE(refusalOf(name), "") << name;
        EXPECT_EQ(lookUpInFolder(".", name).result, LookupResult::kRefused) << name;
    }
    for (const char* name : {"a.pcx", "./a.pcx", "tex//a.pcx", "tex\\.\\a.pcx", "..a.pcx", "a..pcx"}) {
        EXPECT_EQ(refusalOf(name), "") << name;
    }
}

TEST(FolderLookup, MatchesEachComponentIgnoringAsciiCaseWhenNotExact) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("Tex").c_str(), 0755), 0);
    writeFile(folder.file("Tex/Wood.PCX"), std::string("w"));
    writeFile(folder.file("Tex/wood.pcx"), std::string("w"));
    writeFile(folder.file("Tex/STONE.pcx"), std::string("s"));
    writeFile(folder.file("Tex/\xC3\x89t\xC3\xA9.pcx"), std::string("e"));
    const std::pair<const char*, const char*> found[] = {
        {"Tex/wood.pcx", "/Tex/wood.pcx"},       // exact beats a case match
        {"tex\\WOOD.PCX", "/Tex/Wood.PCX"},      // the first case match in byte order
        {"TEX/./stone.PCX", "/Tex/STONE.pcx"},   // separators of both kinds, "." skipped
        {"tex/\xC3\x89t\xC3\xA9.PCX", "/Tex/\xC3\x89t\xC3\xA9.pcx"},
    };
    for (const auto& [name, path] : found) {
        const FolderLookup lookup = lookUpInFolder(folder.path(), name);
        EXPECT_EQ(lookup.result, LookupResult::kFound) << name;
        EXPECT_EQ(lookup.path, folder.path() + path) << name;
    }
    // Only ASCII letters fold; a folder is not a file, nor a file a folder.
    for (const char* name : {"tex/\xC3\xA9t\xC3\xA9.pcx", "tex", "Tex/wood.pcx/x", "Tex/missing.pcx", "./"}) {
        EXPECT_EQ(lookUpInFolder(folder.path(), name).result, LookupResult::kMissing) << name;
    }
}

TEST(FolderLookup, FollowsNoLink) {
    TempFolder outside;
    writeFile(outside.file("secret.pcx"), std::string("s"));
    TempFolder folder;
    ASSERT_EQ(symlink(outside.file("secret.pcx").c_str(), folder.file("a.pcx").c_str()), 0);
    ASSERT_EQ(symlink(outside.path().c_str(), folder.file("out").c_str()), 0);
    for (const char* name : {"a.pcx", "A.PCX", "out/secret.pcx", "OUT/secret.pcx"}) {
        EXPECT_EQ(lookUpInFolder(folder.path(), name).result, LookupResult::kMissing) << name;
    }
}

}  // namespace
}  // namespace zelvane
