#include "ZlibCompress.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>

namespace zelvane::image {

namespace {

struct DeflateSettings {
    int level;
    int memLevel;
    int strategy;
};

// Chosen from measurements. Level 1 over unfiltered rows made the house's
// 512 x 512 picture 57.6 KB in 2.5 ms, where levels 2 and 3 saved 1 to 2 %
// for 2 to 14 % more time and level 6 took twice as long; a memLevel of 9
// was larger and slower. Level 9 made texture images up to 7 % smaller than
// level 6. The filtered strategy lost badly on grey textures, RLE on
// unfiltered pictures.
constexpr DeflateSettings kFastSettings{1, 8, Z_DEFAULT_STRATEGY};
constexpr DeflateSettings kThoroughSettings{9, 8, Z_DEFAULT_STRATEGY};
constexpr int kWindowBits = 15;  // a 32 KiB window and the zlib header and trailer
// The output grows by doubling from here: it is a small part of the input,
// and a buffer of deflateBound's size would cost a page fault for every
// 4 KiB of it.
constexpr size_t kFirstOutputSize = size_t{64} << 10;

}  // namespace

struct ZlibStream::State {
    z_stream stream{};
    bool started = false;
    bool failed = false;

    ~State() {
        if (started) {
            deflateEnd(&stream);
        }
    }
};

ZlibStream::ZlibStream(ZlibEffort effort) : state_(std::make_unique<State>()) {
    const DeflateSettings& settings = effort == ZlibEffort::kFast ? kFastSettings : kThoroughSettings;
    state_->started = deflateInit2(&state_->stream, settings.level, Z_DEFLATED, kWindowBits, settings.memLevel,
                                   settings.strategy) == Z_OK;
    state_->failed = !state_->started;
}

ZlibStream::~ZlibStream() = default;

// Doubles the room for output; false when there is no memory for it.
bool ZlibStream::grewOutput() {
    try {
        out_.resize(std::max(kFirstOutputSize, out_.size() * 2));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Feeds the bytes to deflate, the output doubling as it fills; last ends
// the stream.
bool ZlibStream::deflateInput(std::span<const uint8_t> bytes, bool last) {
    z_stream& stream = state_->stream;
    size_t offset = 0;
    for (;;) {
        // zlib's input pointer is not const, but deflate only reads through it.
        const size_t piece = std::min<size_t>(bytes.size() - offset, UINT_MAX);
        stream.next_in = const_cast<Bytef*>(bytes.data() + offset);
        stream.avail_in = static_cast<uInt>(piece);
        const bool finishing = last && offset + piece == bytes.size();
        if (out_.size() == written_ && !grewOutput()) {
            return false;
        }
        stream.next_out = out_.data() + written_;
        stream.avail_out = static_cast<uInt>(std::min<size_t>(out_.size() - written_, UINT_MAX));
        const int status = deflate(&stream, finishing ? Z_FINISH : Z_NO_FLUSH);
        written_ = static_cast<size_t>(stream.next_out - out_.data());
        offset += piece - stream.avail_in;
        if (status == Z_STREAM_END) {
            return true;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            return false;
        }
        if (!last && offset == bytes.size() && stream.avail_out != 0) {
            return true;
        }
    }
}

bool ZlibStream::add(std::span<const uint8_t> bytes) {
    if (!state_->failed && !bytes.empty()) {
        state_->failed = !deflateInput(bytes, false);
    }
    return !state_->failed;
}

std::vector<uint8_t> ZlibStream::finish() {
    if (state_->failed || !deflateInput({}, true)) {
        state_->failed = true;
        return {};
    }
    out_.resize(written_);
    return std::move(out_);
}

std::vector<uint8_t> compressZlib(std::span<const uint8_t> bytes, ZlibEffort effort) {
    if (bytes.size() >= static_cast<size_t>(INT_MAX)) {
        return {};
    }
    ZlibStream stream(effort);
    stream.add(bytes);
    return stream.finish();
}

uint32_t crc32Of(std::span<const uint8_t> bytes) {
    return static_cast<uint32_t>(crc32_z(crc32(0, Z_NULL, 0), bytes.data(), bytes.size()));
}

}  // namespace zelvane::image
