#include "TinyPng.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace zelvane::test {
namespace {

uint32_t crc32Of(const uint8_t* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void appendChunk(std::vector<uint8_t>& png, std::string_view type, const std::vector<uint8_t>& data) {
    appendBigEndian(png, static_cast<uint32_t>(data.size()));
    const size_t typeStart = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    appendBigEndian(png, crc32Of(png.data() + typeStart, png.size() - typeStart));
}

// The rows, each behind filter byte 0, as a zlib stream of stored blocks.
std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    constexpr size_t kLargestBlock = 65535;
    size_t start = 0;
    do {
        const size_t length = std::min(kLargestBlock, raw.size() - start);
        out.push_back(start + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(start),
                   raw.begin() + static_cast<std::ptrdiff_t>(start + length));
        start += length;
    } while (start < raw.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian(out, b << 16 | a);
    return out;
}

}  // namespace

std::vector<uint8_t> solidPng(uint32_t width, uint32_t height, const std::array<uint8_t, 3>& colour) {
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filtering choice, no interlace
    appendChunk(png, "IHDR", header);
    std::vector<uint8_t> raw;
    for (uint32_t row = 0; row < height; ++row) {
        raw.push_back(0);
        for (uint32_t column = 0; column < width; ++column) {
            raw.insert(raw.end(), colour.begin(), colour.end());
        }
    }
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace zelvane::test
