// Files of a few dozen bytes whose counts promise some four billion records.
// The converter must report the short file and must not set memory aside
// for the promised records first.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <sstream>
#include <stdexcept>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

// Peak memory a hostile file may take beyond a tiny valid model.
constexpr long kAllowanceKb = 8 * 1024;

// Memory set aside but never touched does not count as resident, so the
// converter also runs with little address space: a reservation for the
// declared count fails there. AddressSanitizer needs terabytes of address
// space for itself, so its build goes without.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kAddressSpaceLimit = 0;
#else
constexpr long kAddressSpaceLimit = 256L << 20;
#endif

constexpr size_t kTextureCountOffset = 4;
constexpr size_t kCountsOffset = 12;  // with no textures
constexpr size_t kPolygonOffset = 20;  // with no textures and no vertices
constexpr size_t kCornerCountOffset = 64;

struct HostileFile {
    std::vector<uint8_t> bytes;
    std::string reason;  // the expected failure
};

void patchWord(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (size_t index = 0; index < 4; ++index) {
        bytes.at(offset + index) = static_cast<uint8_t>(value >> (8 * index));
    }
}

// One texture, then nothing: 52 bytes.
HostileFile textureCount(uint32_t count) {
    Mag5ModelSpec model;
    model.textures = {"a.pcx"};
    HostileFile file{tools::encodeMag5(model), "file ends early (inside texture name 1)"};
    patchWord(file.bytes, kTextureCountOffset, count);
    return file;
}

// One vertex, then nothing: 48 bytes.
HostileFile vertexCount(uint32_t count) {
    Mag5ModelSpec model;
    model.vertices = {vertexAt(1, 2, 3)};
    HostileFile file{tools::encodeMag5(model), "file ends early (inside vertex 1)"};
    patchWord(file.bytes, kCountsOffset, count);
    return file;
}

// Polygons without corners, which the loader steps over: 84 bytes each
// after the 20 of header and counts.
Mag5ModelSpec cornerlessPolygons(size_t count) {
    Mag5ModelSpec model;
    model.polygons.assign(count, polygonOver({}));
    return model;
}

HostileFile polygonCount(uint32_t count) {
    HostileFile file{tools::encodeMag5(cornerlessPolygons(1)), "file ends early (inside polygon 1)"};
    patchWord(file.bytes, kCountsOffset + 4, count);
    return file;
}

HostileFile cornerCount(uint32_t count) {
    HostileFile file{tools::encodeMag5(cornerlessPolygons(2)), "file ends early (inside the corners of polygon 0)"};
    patchWord(file.bytes, kPolygonOffset + kCornerCountOffset, count);
    return file;
}

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files;
    for (uint32_t count : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
        files.push_back(textureCount(count));
        files.push_back(vertexCount(count));
        files.push_back(polygonCount(count));
        files.push_back(cornerCount(count));
    }
    // The corner block of this many corners is 12n + 16 = 2^32 + 12 bytes: a
    // size kept in 32 bits would step over 12 bytes and read on from there.
    files.push_back(cornerCount(0x15555555));
    return files;
}

std::string describe(const std::vector<uint8_t>& bytes) {
    return "file of " + std::to_string(bytes.size()) + " bytes";
}

// Runs the converter through the measure_run helper; the peak in kilobytes.
long runMeasured(const TempFolder& folder, const std::vector<std::string>& arguments, CommandResult& result) {
    TempFolder reportFolder;
    std::vector<std::string> helperArguments{reportFolder.file("peak"), ZELVANE_BIN};
    helperArguments.insert(helperArguments.end(), arguments.begin(), arguments.end());
    result = runProgram(ZELVANE_MEASURE_RUN, helperArguments, folder.path(), RunOptions{0, false, kAddressSpaceLimit});
    std::istringstream report(readFile(reportFolder.file("peak")));
    double seconds = 0;
    long peakKb = 0;
    if (!(report >> seconds >> peakKb)) {
        throw std::runtime_error("measure_run wrote no report");
    }
    return peakKb;
}

long baselinePeakKb() {
    TempFolder folder;
    saveModel(smallModel(), folder.file("m.mag"));
    CommandResult result;
    const long peak = runMeasured(folder, {"m.mag"}, result);
    EXPECT_EQ(result.status, 0) << result.err;
    return peak;
}

void expectOneFailureLine(const CommandResult& result, const std::string& path, const std::string& reason) {
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, outputText("zelvane: " + path + ": " + reason + "\n"));
    EXPECT_EQ(result.out, outputText(kBanner));
}

TEST(HostileCounts, ShortFileIsReportedWithoutTakingMemoryForTheCounts) {
    if (underRunner()) {
        GTEST_SKIP() << "peak memory is measured for the converter built here";
    }
    const long baseline = baselinePeakKb();
    for (const HostileFile& hostile : hostileFiles()) {
        TempFolder folder;
        writeFile(folder.file("m.mag"), hostile.bytes);
        CommandResult result;
        const long peak = runMeasured(folder, {"m.mag"}, result);
        SCOPED_TRACE(describe(hostile.bytes) + ", " + hostile.reason);
        expectOneFailureLine(result, "m.mag", hostile.reason);
        EXPECT_LE(peak, baseline + kAllowanceKb) << "baseline " << baseline << " kB";
        EXPECT_EQ(folderContents(folder.path()).size(), 1u);
    }
}

// Writes bytes into a named pipe from a child process, so that the
// converter reads a stream whose size it cannot know in advance.
class PipeWriter {
public:
    PipeWriter(const std::string& path, const std::vector<uint8_t>& bytes) {
        if (mkfifo(path.c_str(), 0600) != 0) {
            throw std::runtime_error("cannot make the pipe " + path);
        }
        child_ = fork();
        if (child_ == 0) {
            alarm(30);  // never outlive a reader that does not come
            const int fd = open(path.c_str(), O_WRONLY);
            const bool written = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            _exit(written ? 0 : 1);
        }
    }
    ~PipeWriter() {
        int status = 0;
        waitpid(child_, &status, 0);
    }
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

private:
    pid_t child_ = -1;
};

TEST(HostileCounts, ShortStreamWhoseSizeIsNotKnown) {
    if (underRunner()) {
        GTEST_SKIP() << "named pipes are a thing of this system";
    }
    for (const HostileFile& hostile : hostileFiles()) {
        TempFolder folder;
        PipeWriter writer(folder.file("m.mag"), hostile.bytes);
        SCOPED_TRACE(describe(hostile.bytes) + ", " + hostile.reason);
        expectOneFailureLine(runZelvaneIn(folder, {"m.mag"}), "m.mag", hostile.reason);
    }
}

}  // namespace
}  // namespace zelvane::test

namespace zelvane::test {
namespace {

void putU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// Image files of a few hundred bytes whose headers declare some 65535 x 65535
// pixels: a PCX of 8 bits in one or three planes (rows of 65534, the most
// that an even line length holds), and an RLE TGA.
std::vector<std::vector<uint8_t>> hostileImages() {
    std::vector<std::vector<uint8_t>> images;
    for (const uint8_t planes : {uint8_t{1}, uint8_t{3}}) {
        std::vector<uint8_t> pcx(128, 0);
        pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[65] = planes;
        putU16(pcx, 8, 65533);
        putU16(pcx, 10, 65534);
        putU16(pcx, 66, 65534);
        for (int run = 0; run < 100; ++run) {
            pcx.insert(pcx.end(), {0xFF, 0x2A});
        }
        images.push_back(pcx);
    }
    std::vector<uint8_t> tga(18, 0);
    tga[2] = 10, tga[16] = 32;
    putU16(tga, 12, 65535);
    putU16(tga, 14, 65535);
    for (int packet = 0; packet < 100; ++packet) {
        tga.insert(tga.end(), {0xFF, 1, 2, 3, 4});
    }
    images.push_back(tga);
    return images;
}

TEST(HostileImages, AreReportedWithoutTakingMemoryForTheirPixels) {
    if (underRunner()) {
        GTEST_SKIP() << "peak memory is measured for the converter built here";
    }
    const long baseline = baselinePeakKb();
    for (const std::vector<uint8_t>& image : hostileImages()) {
        TempFolder folder;
        Mag5ModelSpec model = smallModel();  // its textured triangle shows textures[1]
        model.textures[1] = image[0] == 0x0A ? "huge.pcx" : "huge.tga";
        saveModel(model, folder.file("m.mag"));
        writeFile(folder.file(model.textures[1]), image);
        CommandResult result;
        const long peak = runMeasured(folder, {"m.mag", "--textures"}, result);
        SCOPED_TRACE(model.textures[1] + ", " + describe(image));
        EXPECT_EQ(result.status, 0);
        EXPECT_TRUE(result.err.starts_with("zelvane: m.mag: texture " + model.textures[1] + ": ")) << result.err;
        EXPECT_EQ(splitLines(result.err).size(), 1u) << result.err;
        EXPECT_LE(peak, baseline + kAllowanceKb) << "baseline " << baseline << " kB";
    }
}

}  // namespace
}  // namespace zelvane::test
