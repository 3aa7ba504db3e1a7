// Reads little-endian fields (and, for the formats that have them, big-endian
// ones) front to back from a span of bytes. A read past
// the end yields 0 and marks the cursor failed, so that a parser can read a
// header's fields in a row and check ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "LittleEndian.h"

namespace zelvane {

class ByteCursor {
public:
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t offset = 0) : bytes_(bytes), offset_(offset) {}

    uint8_t readU8() {
        if (!has(1)) {
            return fail();
        }
        return bytes_[offset_++];
    }
    uint16_t readU16() { return readLittleEndian(decodeU16); }
    uint32_t readU32() { return readLittleEndian(decodeU32); }
    uint16_t readU16BigEndian() {
        const uint32_t high = readU8();
        return static_cast<uint16_t>(high << 8 | readU8());
    }
    uint32_t readU32BigEndian() {
        const uint32_t high = readU16BigEndian();
        return high << 16 | readU16BigEndian();
    }
    void skip(size_t count) {
        if (has(count)) {
            offset_ += count;
        } else {
            fail();
        }
    }

    bool has(size_t count) const { return ok_ && count <= bytes_.size() - offset_; }
    bool ok() const { return ok_; }
    size_t offset() const { return offset_; }
    size_t remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }

private:
    template <typename Value>
    Value readLittleEndian(Value (*decode)(const uint8_t*)) {
        if (!has(sizeof(Value))) {
            return fail();
        }
        const Value value = decode(bytes_.data() + offset_);
        offset_ += sizeof(Value);
        return value;
    }

    uint8_t fail() {
        ok_ = false;
        offset_ = bytes_.size();
        return 0;
    }

    std::span<const uint8_t> bytes_;
    size_t offset_;
    bool ok_ = offset_ <= bytes_.size();
};

}  // namespace zelvane
