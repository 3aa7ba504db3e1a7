#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"
#include "TempFolder.h"
#include "output/OutputSet.h"

namespace zelvane {
namespace {

using namespace test;

TEST(OutputSet, FilesAppearOnlyOnCommit) {
    TempFolder folder;
    writeFile(folder.file("a.txt"), std::string("old a"));
    {
        OutputSet outputs;
        OutputFile* a = outputs.create(folder.file("a.txt"));
        OutputFile* b = outputs.create(folder.file("b.txt"));
        ASSERT_TRUE(a && b);
        a->text().append("new a");
        b->write(std::string(3 * OutputFile::kFlushSize, 'b'));
        EXPECT_TRUE(outputs.close(*b));
        EXPECT_EQ(readFile(folder.file("a.txt")), "old a");
        EXPECT_EQ(folderContents(folder.path()).size(), 3u);  // a.txt and two temporaries
        ASSERT_TRUE(outputs.commit());
    }
    const auto files = folderContents(folder.path());
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("a.txt"), "new a");
    EXPECT_EQ(files.at("b.txt").size(), 3 * OutputFile::kFlushSize);
}

TEST(OutputSet, UncommittedFilesLeaveNothingBehind) {
    TempFolder folder;
    writeFile(folder.file("a.txt"), std::string("old a"));
    {
        OutputSet outputs;
        ASSERT_TRUE(outputs.create(folder.file("a.txt")));
        outputs.create(folder.file("b.txt"))->text().append("b");
    }
    const auto files = folderContents(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.at("a.txt"), "old a");
}

TEST(OutputSet, MissingFolderNamesTheOutputPath) {
    TempFolder folder;
    OutputSet outputs;
    ASSERT_TRUE(outputs.create(folder.file("fine.txt")));
    EXPECT_EQ(outputs.create(folder.file("no/such.txt")), nullptr);
    ASSERT_TRUE(outputs.error());
    EXPECT_EQ(outputs.error()->path, folder.file("no/such.txt"));
    EXPECT_EQ(outputs.error()->reason, "No such file or directory");
}

TEST(OutputSet, OutputPathThatIsAFolderFailsAtCommit) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("taken").c_str(), 0755), 0);
    writeFile(folder.file("a.txt"), std::string("old a"));
    {
        OutputSet outputs;
        outputs.create(folder.file("taken"))->text().append("x");
        outputs.create(folder.file("a.txt"))->text().append("new");
        EXPECT_FALSE(outputs.commit());
        ASSERT_TRUE(outputs.error());
        EXPECT_EQ(outputs.error()->path, folder.file("taken"));
        EXPECT_EQ(outputs.error()->reason, "Is a directory");
    }
    const auto files = folderContents(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.at("a.txt"), "old a");
}

}  // namespace
}  // namespace zelvane
