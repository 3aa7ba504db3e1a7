#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

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
        EXPECT_EQ(result.err, outputText(stderrLine + "\n"));
        EXPECT_EQ(result.out, outputText(kBanner + report));
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
    // The output that a one-line error with the given reason names; "" when
    // the error output is not such a line.
    static std::string failedOutput(const std::string& err, const std::string& reason) {
        const std::string head = "zelvane: ";
        const std::string tail = outputText(": " + reason + "\n");
        if (err.size() <= head.size() + tail.size() || !err.starts_with(head) || !err.ends_with(tail)) {
            return "";
        }
        const std::string path = err.substr(head.size(), err.size() - head.size() - tail.size());
        return path.find('\n') == std::string::npos ? path : "";
    }

    // A mesh file of a scene: a group identifier in hexadecimal and ".obj".
    static bool isMeshFile(const std::string& path) {
        const size_t digits = path.size() - std::min(path.size(), size_t{4});
        return digits > 0 && path.ends_with(".obj") &&
               path.find_first_not_of("0123456789abcdef") == digits;
    }

    // Status 2, one error line naming the output with the reason, and the
    // folder as it was.
    static void expectFailedOutput(const CommandResult& result, const std::string& output, const std::string& reason,
                                   const std::string& where, const std::map<std::string, std::string>& before) {
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, outputText("zelvane: " + output + ": " + reason + "\n"));
        EXPECT_EQ(folderContents(where), before);
    }

    // The same for a scene, where the document or any mesh file may be the
    // one that fails.
    static void expectFailedScene(const CommandResult& result, const std::string& document, const std::string& reason,
                                  const std::string& where, const std::map<std::string, std::string>& before) {
        EXPECT_EQ(result.status, 2);
        const std::string output = failedOutput(result.err, reason);
        EXPECT_TRUE(output == document || isMeshFile(output)) << result.err;
        EXPECT_EQ(folderContents(where), before);
    }

    TempFolder folder;
};

TEST_F(FailedOutput, OutputPathIsAFolder) {
    saveModel(smallModel(), folder.file("m.mag"));
    writeFile(folder.file("m.obj"), std::string("earlier obj"));
    ASSERT_EQ(mkdir(folder.file("m.mtl").c_str(), 0755), 0);
    const auto before = folderContents(folder.path());
    const CommandResult result = runZelvaneIn(folder, {"m.mag"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, outputText("zelvane: m.mtl: Is a directory\n"));
    EXPECT_EQ(folderContents(folder.path()), before);
}

TEST_F(FailedOutput, FirstOutputPathIsAFolder) {
    saveModel(smallModel(), folder.file("m.mag"));
    writeFile(folder.file("m.mtl"), std::string("earlier mtl"));
    ASSERT_EQ(mkdir(folder.file("m.obj").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.file("m.xml").c_str(), 0755), 0);
    const auto before = folderContents(folder.path());
    expectFailedOutput(runZelvaneIn(folder, {"m.mag"}), "m.obj", "Is a directory", folder.path(), before);
    expectFailedOutput(runZelvaneIn(folder, {"m.mag", "-quazo"}), "m.xml", "Is a directory", folder.path(), before);
    EXPECT_TRUE(folderContents(folder.file("m.obj")).empty());
    EXPECT_TRUE(folderContents(folder.file("m.xml")).empty());
}

TEST_F(FailedOutput, DiskFillsUpWhileWriting) {
    if (underRunner()) {
        GTEST_SKIP() << "a file size limit binds the runner too, which SIGXFSZ then ends";
    }
    writeFile(folder.file("house.mag"), readFile(ZELVANE_SAMPLE));
    writeFile(folder.file("house.obj"), std::string("earlier obj"));
    const auto before = folderContents(folder.path());
    // Every output of the house is larger than the largest limit; the scene
    // document or any mesh file may be the first to reach it. The limit
    // holds for the console files too, so it leaves room for them.
    for (long limit : {400, 1000, 8000, 16000}) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        expectFailedOutput(runZelvaneIn(folder, {"house.mag"}, limit), "house.obj", "File too large", folder.path(),
                           before);
        expectFailedScene(runZelvaneIn(folder, {"house.mag", "-quazo"}, limit), "house.xml", "File too large",
                          folder.path(), before);
    }
}

// A small file system of its own in a folder, unmounted at the end; the test
// is skipped where mounting is not permitted.
class SmallFileSystem {
public:
    SmallFileSystem(const std::string& where, const std::string& options) : where_(where) {
        mounted_ = (mkdir(where.c_str(), 0755) == 0 || errno == EEXIST) &&
                   mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted_) {
            umount2(where_.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::string where_;
    bool mounted_ = false;
};

// The house (43848 bytes) and an earlier output take 12 of the 16 pages of
// 64 kB, and every output of the house is larger than the 16 kB left; with
// three inodes not even an empty file can be created.
TEST_F(FailedOutput, DiskFillsUpOnASmallFileSystem) {
    if (underRunner()) {
        GTEST_SKIP() << "the converter runs through another program";
    }
    const std::string disk = folder.file("disk");
    for (const std::string options : {"size=64k", "size=64k,nr_inodes=3"}) {
        SCOPED_TRACE(options);
        SmallFileSystem fileSystem(disk, options);
        if (!fileSystem.mounted()) {
            GTEST_SKIP() << "cannot mount a file system here: " << std::strerror(errno);
        }
        writeFile(disk + "/house.mag", readFile(ZELVANE_SAMPLE));
        writeFile(disk + "/house.obj", std::string("earlier obj"));
        const auto before = folderContents(disk);
        const CommandResult obj = runProgram(ZELVANE_BIN, {"house.mag"}, disk);
        expectFailedOutput(obj, "house.obj", "No space left on device", disk, before);
        const CommandResult scene = runProgram(ZELVANE_BIN, {"house.mag", "-quazo"}, disk);
        expectFailedScene(scene, "house.xml", "No space left on device", disk, before);
    }
}

// Runs the converter as user nobody: from a copy that nobody may execute, in
// the test's folder, which nobody may then enter. Needs root.
class FailedOutputAsNobody : public FailedOutput {
protected:
    void SetUp() override {
        ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
        std::filesystem::copy_file(ZELVANE_BIN, folder.file("zelvane"));
        ASSERT_EQ(chmod(folder.file("zelvane").c_str(), 0755), 0);
    }

    CommandResult runAsNobody(const std::vector<std::string>& arguments) const {
        return runProgram(folder.file("zelvane"), arguments, folder.path(), RunOptions{0, true});
    }
};

// Root passes every permission check, so when the tests run as root the
// converter runs as user nobody.
TEST_F(FailedOutputAsNobody, FolderWithoutWritePermission) {
    const bool asNobody = geteuid() == 0;
    if (asNobody && underRunner()) {
        GTEST_SKIP() << "the converter runs through another program";
    }
    ASSERT_EQ(mkdir(folder.file("locked").c_str(), 0755), 0);
    saveModel(smallModel(), folder.file("locked/m.mag"));
    writeFile(folder.file("locked/m.obj"), std::string("earlier obj"));
    writeFile(folder.file("locked/m.xml"), std::string("earlier xml"));
    ASSERT_EQ(chmod(folder.file("locked").c_str(), 0555), 0);
    const auto run = [&](const std::vector<std::string>& arguments) {
        return asNobody ? runAsNobody(arguments) : runZelvaneIn(folder, arguments);
    };
    const auto before = folderContents(folder.file("locked"));
    expectFailedOutput(run({"locked/m.mag"}), "locked/m.obj", "Permission denied", folder.file("locked"), before);
    expectFailedOutput(run({"locked/m.mag", "-quazo"}), "locked/m.xml", "Permission denied", folder.file("locked"),
                       before);
}

// In a folder that everyone may write to but where only a file's owner may
// replace it (the sticky bit, as on /tmp), an earlier output of another user
// stays. The run must then fail leaving every other output as it was: the
// OBJ file, placed before the library is refused, is taken back.
TEST_F(FailedOutputAsNobody, OutputOfAnotherUserInASharedFolder) {
    if (geteuid() != 0 || underRunner()) {
        GTEST_SKIP() << "needs root, to give a file to another user, and the converter built here";
    }
    const std::string shared = folder.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    saveModel(smallModel(), shared + "/m.mag");
    writeFile(shared + "/m.mtl", std::string("root's mtl"));
    writeFile(shared + "/m.xml", std::string("root's xml"));
    const auto before = folderContents(shared);
    expectFailedOutput(runAsNobody({"shared/m.mag"}), "shared/m.mtl", "Operation not permitted", shared, before);
    expectFailedOutput(runAsNobody({"shared/m.mag", "-quazo"}), "shared/m.xml", "Operation not permitted", shared,
                       before);
}

}  // namespace
}  // namespace zelvane::test
