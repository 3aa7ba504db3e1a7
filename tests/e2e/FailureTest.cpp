#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

// A folder holding a good model, a broken one, and outputs of an earlier run
// that a failed run must leave exactly as they were.
class FailedRun : public ::testing::Test {
protected:
    void SetUp() override {
        saveModel(smallModel(), folder.file("good.mag"));
        writeFile(folder.file("bad.obj"), std::string("earlier obj"));
        writeFile(folder.file("bad.mtl"), std::string("earlier mtl"));
        writeFile(folder.file("bad.xml"), std::string("earlier xml"));
        before = folderContents(folder.path());
    }

    void expectFailure(const std::vector<std::string>& arguments, const std::string& stderrLine,
                       const std::string& report = "") {
        const CommandResult result = runZelvaneIn(folder, arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, stderrLine + "\n");
        EXPECT_EQ(result.out, kBanner + report);
        EXPECT_EQ(folderContents(folder.path()), before);
    }

    void writeBad(const std::vector<uint8_t>& bytes) {
        writeFile(folder.file("bad.mag"), bytes);
        before = folderContents(folder.path());
    }

    TempFolder folder;
    std::map<std::string, std::string> before;
};

TEST_F(FailedRun, ModelThatCannotBeOpened) {
    expectFailure({"bad.mag"}, "zelvane: bad.mag: No such file or directory");
    expectFailure({"bad.mag", "-quazo"}, "zelvane: bad.mag: No such file or directory");
}

TEST_F(FailedRun, NotAMag5File) {
    writeBad({'5', 'G', 'A', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    expectFailure({"bad.mag"}, "zelvane: bad.mag: not a MAG5 file");
}

TEST_F(FailedRun, TruncatedModelAfterAGoodOne) {
    std::vector<uint8_t> bytes = tools::encodeMag5(smallModel());
    bytes.pop_back();
    writeBad(bytes);
    expectFailure({"good.mag", "bad.mag"}, "zelvane: bad.mag: file ends early (inside the corners of polygon 1)",
                  kSmallModelReport);
}

TEST_F(FailedRun, CornerOutsideTheVertexTable) {
    Mag5ModelSpec model = smallModel();
    model.polygons[0].corners[2].vertex = 4;
    writeBad(tools::encodeMag5(model));
    expectFailure({"bad.mag", "good.mag", "-quazo"},
                  "zelvane: bad.mag: polygon 0 refers to vertex 4, but the file has 4 vertices");
}

// Outputs that cannot be written: the run fails naming the output, no
// temporary stays behind, and earlier files are unchanged.
class FailedOutput : public ::testing::Test {
protected:
    TempFolder folder;
};

TEST_F(FailedOutput, OutputPathIsAFolder) {
    saveModel(smallModel(), folder.file("m.mag"));
    writeFile(folder.file("m.obj"), std::string("earlier obj"));
    ASSERT_EQ(mkdir(folder.file("m.mtl").c_str(), 0755), 0);
    const auto before = folderContents(folder.path());
    const CommandResult result = runZelvaneIn(folder, {"m.mag"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "zelvane: m.mtl: Is a directory\n");
    EXPECT_EQ(folderContents(folder.path()), before);
}

TEST_F(FailedOutput, DiskFillsUpWhileWriting) {
    writeFile(folder.file("house.mag"), readFile(ZELVANE_SAMPLE));
    writeFile(folder.file("house.obj"), std::string("earlier obj"));
    const auto before = folderContents(folder.path());
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"house.mag"}, std::vector<std::string>{"house.mag", "-quazo"}}) {
        const CommandResult result = runZelvaneIn(folder, arguments, 8000);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.substr(0, 9), "zelvane: ");
        EXPECT_NE(result.err.find(": File too large\n"), std::string::npos) << result.err;
        EXPECT_EQ(folderContents(folder.path()), before);
    }
}

TEST_F(FailedOutput, FolderWithoutWritePermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    ASSERT_EQ(mkdir(folder.file("locked").c_str(), 0755), 0);
    saveModel(smallModel(), folder.file("locked/m.mag"));
    ASSERT_EQ(chmod(folder.file("locked").c_str(), 0555), 0);
    const CommandResult result = runZelvaneIn(folder, {"locked/m.mag"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "zelvane: locked/m.obj: Permission denied\n");
    EXPECT_EQ(folderContents(folder.file("locked")).size(), 1u);
}

}  // namespace
}  // namespace zelvane::test
