#include "os/Platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "Files.h"
#include "TempFolder.h"

namespace zelvane {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

bool writeAndClose(std::FILE* file, std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

TEST(CreateTextFile, WritesANewFile) {
    TempFolder folder;
    std::FILE* file = createTextFile(folder.file("new.txt"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(writeAndClose(file, "one\ntwo\n"));
    EXPECT_EQ(readFile(folder.file("new.txt")), "one\ntwo\n");
}

TEST(CreateTextFile, LeavesAnExistingFileAlone) {
    TempFolder folder;
    writeFile(folder.file("there.txt"), std::string("earlier"));
    errno = 0;
    EXPECT_EQ(createTextFile(folder.file("there.txt")), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(readFile(folder.file("there.txt")), "earlier");
}

TEST(CreateTextFile, FailsInAFolderThatIsNotThere) {
    TempFolder folder;
    errno = 0;
    EXPECT_EQ(createTextFile(folder.file("missing/new.txt")), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST(ReplaceFile, TakesThePlaceOfAnExistingFile) {
    TempFolder folder;
    writeFile(folder.file("new.tmp"), std::string("new"));
    writeFile(folder.file("out.obj"), std::string("old"));
    EXPECT_TRUE(replaceFile(folder.file("new.tmp"), folder.file("out.obj")));
    EXPECT_EQ(readFile(folder.file("out.obj")), "new");
    struct stat status {};
    EXPECT_NE(stat(folder.file("new.tmp").c_str(), &status), 0);
}

TEST(ReplaceFile, FailsWithTheReasonWhenTheSourceIsMissing) {
    TempFolder folder;
    writeFile(folder.file("out.obj"), std::string("old"));
    errno = 0;
    EXPECT_FALSE(replaceFile(folder.file("gone.tmp"), folder.file("out.obj")));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(readFile(folder.file("out.obj")), "old");
}

}  // namespace
}  // namespace zelvane
