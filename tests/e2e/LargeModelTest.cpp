// A model of more than 4 GiB, written sparse so that it takes next to no
// room on disk. A file size or offset kept in 32 bits anywhere, in the
// converter or in the C runtime it is built on, makes the file seem to end
// early or the polygon after the gap be read from the wrong place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

constexpr size_t kFirstRecordEnd = 20 + 3 * 28 + 68;  // no textures, three vertices, one polygon record
constexpr size_t kCornerCountOffset = kFirstRecordEnd - 4;
constexpr uint32_t kHugeCornerCount = 0x15555555;  // a corner block of 2^32 + 12 bytes

// Writes bytes[0, split), leaves a hole of gap bytes, then writes the rest.
void writeWithHole(const std::string& path, const std::vector<uint8_t>& bytes, size_t split, uint64_t gap) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto rest = static_cast<ssize_t>(bytes.size() - split);
    const bool written = fd >= 0 && write(fd, bytes.data(), split) == static_cast<ssize_t>(split) &&
                         lseek(fd, static_cast<off_t>(gap), SEEK_CUR) >= 0 &&
                         write(fd, bytes.data() + split, bytes.size() - split) == rest;
    if (fd >= 0) {
        close(fd);
    }
    if (!written) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool takesLittleRoom(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && status.st_blocks * 512 < (1 << 20);
}

TEST(LargeModel, PolygonSpanningFourGibibytesIsSteppedOver) {
    Mag5ModelSpec model;
    model.vertices = {vertexAt(0, 0, 0), vertexAt(1, 0, 0), vertexAt(0, 1, 0)};
    model.polygons = {polygonOver({}), polygonOver({0, 1, 2})};
    std::vector<uint8_t> bytes = tools::encodeMag5(model);
    for (size_t index = 0; index < 4; ++index) {
        bytes.at(kCornerCountOffset + index) = static_cast<uint8_t>(kHugeCornerCount >> (8 * index));
    }
    TempFolder folder;
    // The block's 12 bytes per corner are the hole; its two tail words and
    // the triangle follow it.
    writeWithHole(folder.file("big.mag"), bytes, kFirstRecordEnd, 12 * uint64_t{kHugeCornerCount});
    if (!takesLittleRoom(folder.file("big.mag"))) {
        GTEST_SKIP() << "the temporary folder's file system keeps no sparse files";
    }
    const CommandResult result = runZelvaneIn(folder, {"big.mag"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, outputText(std::string(kBanner) +
                                     "poly count: 2\nstate changes: 1\nfragmentation: 50.00%\n"
                                     "flat shaded polygons: 0\npc: 2 tpc:1 qpc: 0\nobj pcount: 1\n"));
    EXPECT_TRUE(readFile(folder.file("big.obj")).ends_with(outputText("\n\nf 1//1 2//1 3//1 \n")));
}

}  // namespace
}  // namespace zelvane::test
