// zlib streams and CRC-32s for PNG files, from the zlib library, at settings
// fixed here: the Linux and the Windows build link the same zlib version and
// so write the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zelvane::image {

// How hard deflate works: kFast for pictures, drawn anew on every run;
// kThorough for texture images.
enum class ZlibEffort { kFast, kThorough };

// One zlib stream made of bytes given a piece at a time. deflate's output
// does not depend on how its input is cut, so the stream is the same bytes
// as compressZlib of all the pieces at once.
class ZlibStream {
public:
    explicit ZlibStream(ZlibEffort effort);
    ~ZlibStream();
    ZlibStream(const ZlibStream&) = delete;
    ZlibStream& operator=(const ZlibStream&) = delete;

    // False once zlib has failed (there was no memory); later pieces are
    // ignored. Throws nothing.
    bool add(std::span<const uint8_t> bytes);
    // The whole stream; empty when zlib failed.
    std::vector<uint8_t> finish();

private:
    struct State;
    bool grewOutput();
    bool deflateInput(std::span<const uint8_t> bytes, bool last);

    std::unique_ptr<State> state_;
    std::vector<uint8_t> out_;
    size_t written_ = 0;
};

// The bytes as one zlib stream; empty when there are 2 GiB or more of them,
// or zlib finds no memory.
std::vector<uint8_t> compressZlib(std::span<const uint8_t> bytes, ZlibEffort effort);

// The CRC-32 that PNG chunks end with.
uint32_t crc32Of(std::span<const uint8_t> bytes);

}  // namespace zelvane::image
