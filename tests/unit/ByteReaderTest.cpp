#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <thread>

#include "Files.h"
#include "TempFolder.h"
#include "mag5/ByteReader.h"

namespace zelvane {
namespace {

using namespace test;

constexpr size_t kFileSize = 20000;
constexpr size_t kSmallBuffer = 97;  // a prime: record ends fall on every offset of the buffer

uint8_t byteAt(size_t offset) {
    return static_cast<uint8_t>(offset * 7 + offset / 251);
}

// Takes and skips in the sizes a model file is read in (vertex 28, polygon
// record 68, corner blocks 52 and 64, a skipped polygon's 84 and 300, a take
// of the whole buffer) until the file runs out, checking every byte handed
// out against the file.
void readInRecordSizes(const std::string& path) {
    mag5::ByteReader reader(kSmallBuffer);
    ASSERT_EQ(reader.open(path), "");
    const size_t takes[] = {28, 68, 52, 68, 64, kSmallBuffer, 1};
    const uint64_t skips[] = {84, 300};
    size_t offset = 0;
    for (size_t step = 0;; ++step) {
        if (step % 3 == 2) {
            const uint64_t size = skips[step % 2];
            if (offset + size > kFileSize) {
                EXPECT_FALSE(reader.skip(size));
                break;
            }
            ASSERT_TRUE(reader.skip(size)) << "at " << offset;
            offset += size;
            continue;
        }
        const size_t size = takes[step % 7];
        const uint8_t* bytes = reader.take(size);
        if (offset + size > kFileSize) {
            EXPECT_EQ(bytes, nullptr);
            break;
        }
        ASSERT_NE(bytes, nullptr) << "at " << offset;
        for (size_t k = 0; k < size; ++k) {
            ASSERT_EQ(bytes[k], byteAt(offset + k)) << "at " << offset + k;
        }
        offset += size;
    }
    EXPECT_GT(offset, kFileSize - 300);
    EXPECT_EQ(reader.readError(), "");
}

std::vector<uint8_t> patternedBytes() {
    std::vector<uint8_t> bytes(kFileSize);
    for (size_t offset = 0; offset < kFileSize; ++offset) bytes[offset] = byteAt(offset);
    return bytes;
}

// Records that straddle the end of the buffer, from a file that seeks and
// from a pipe that can only be read.
TEST(ByteReader, RecordsAcrossBufferRefills) {
    TempFolder folder;
    writeFile(folder.file("model"), patternedBytes());
    readInRecordSizes(folder.file("model"));

    ASSERT_EQ(mkfifo(folder.file("pipe").c_str(), 0600), 0);
    std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early fails the writes instead
    std::thread writer([path = folder.file("pipe")] {
        const std::vector<uint8_t> bytes = patternedBytes();
        if (std::FILE* pipe = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), pipe);
            std::fclose(pipe);
        }
    });
    readInRecordSizes(folder.file("pipe"));
    writer.join();
}

}  // namespace
}  // namespace zelvane
