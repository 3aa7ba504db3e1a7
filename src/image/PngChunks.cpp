#include "PngChunks.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "ZlibCompress.h"

namespace zelvane::image {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kMaxIdatSize = size_t{1} << 20;

void appendU32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void appendChunk(Bytes& out, std::string_view type, std::span<const uint8_t> data) {
    appendU32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const std::span<const uint8_t> covered(out.data() + typeAt, out.size() - typeAt);
    appendU32(out, crc32Of(covered));
}

Bytes headerData(const PngHeader& header) {
    Bytes data;
    appendU32(data, header.width);
    appendU32(data, header.height);
    // deflate, adaptive filters, no interlace
    data.insert(data.end(), {header.bitDepth, header.colourType, 0, 0, 0});
    return data;
}

}  // namespace

Bytes assemblePng(const PngHeader& header, std::span<const uint8_t> palette, std::span<const uint8_t> stream) {
    Bytes out(kSignature.begin(), kSignature.end());
    appendChunk(out, "IHDR", headerData(header));
    if (!palette.empty()) {
        appendChunk(out, "PLTE", palette);
    }
    for (size_t offset = 0; offset < stream.size(); offset += kMaxIdatSize) {
        appendChunk(out, "IDAT", stream.subspan(offset, std::min(kMaxIdatSize, stream.size() - offset)));
    }
    appendChunk(out, "IEND", {});
    return out;
}

}  // namespace zelvane::image
