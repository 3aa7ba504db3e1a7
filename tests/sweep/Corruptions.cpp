#include "Corruptions.h"

namespace zelvane::test {
namespace {

constexpr size_t kTextureCountOffset = 4;
constexpr size_t kTextureRecordSize = 32;
constexpr size_t kHeaderSize = 12;

// splitmix64: a small generator with a fixed sequence for a fixed seed.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t below(size_t bound) { return static_cast<size_t>(next() % bound); }

private:
    uint64_t state_;
};

uint32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t index = 0; index < 4; ++index) {
        value |= uint32_t{bytes.at(offset + index)} << (8 * index);
    }
    return value;
}

std::vector<uint32_t> extremesFor(uint32_t old) {
    return {0, 1, 2, 3, 4, 5, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, old + 1, old - 1, old ^ 0x80000000};
}

// A different value when the chosen one happens to be the old one.
uint32_t changed(uint32_t chosen, uint32_t old, uint32_t mask) {
    return chosen == old ? (old ^ 1) & mask : chosen;
}

}  // namespace

std::vector<uint8_t> Corruption::appliedTo(std::vector<uint8_t> bytes) const {
    for (size_t index = 0; index < width; ++index) {
        bytes.at(offset + index) = static_cast<uint8_t>(value >> (8 * index));
    }
    return bytes;
}

std::string Corruption::describe() const {
    return (width == 1 ? "byte at " : "word at ") + std::to_string(offset) + " set to " + std::to_string(value);
}

std::vector<Corruption> byteCorruptions(const std::vector<uint8_t>& bytes, size_t count) {
    Random random(0x5EED0001);
    std::vector<Corruption> corruptions;
    for (size_t index = 0; index < count; ++index) {
        const size_t offset = random.below(bytes.size());
        const uint32_t old = bytes[offset];
        corruptions.push_back({offset, 1, changed(static_cast<uint32_t>(random.below(256)), old, 0xFF)});
    }
    return corruptions;
}

std::vector<Corruption> wordCorruptions(const std::vector<uint8_t>& bytes, size_t count) {
    Random random(0x5EED0004);
    std::vector<Corruption> corruptions;
    for (size_t index = 0; index < count; ++index) {
        const size_t offset = 4 * random.below(bytes.size() / 4);
        const uint32_t old = wordAt(bytes, offset);
        const std::vector<uint32_t> extremes = extremesFor(old);
        const bool extreme = random.below(4) != 0;
        const uint32_t chosen =
            extreme ? extremes[random.below(extremes.size())] : static_cast<uint32_t>(random.next());
        corruptions.push_back({offset, 4, changed(chosen, old, 0xFFFFFFFF)});
    }
    return corruptions;
}

std::vector<Corruption> countCorruptions(const std::vector<uint8_t>& bytes) {
    const size_t countsOffset = kHeaderSize + kTextureRecordSize * wordAt(bytes, kTextureCountOffset);
    std::vector<Corruption> corruptions;
    for (size_t offset : {size_t{0}, kTextureCountOffset, size_t{8}, countsOffset, countsOffset + 4}) {
        const uint32_t old = wordAt(bytes, offset);
        for (uint32_t value : extremesFor(old)) {
            if (value != old) {
                corruptions.push_back({offset, 4, value});
            }
        }
    }
    return corruptions;
}

}  // namespace zelvane::test
