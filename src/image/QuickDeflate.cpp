#include "QuickDeflate.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "HuffmanLengths.h"
#include "os/LargeAllocator.h"

namespace zelvane::image {
namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kShortestMatch = 4;  // what the hash looks at; DEFLATE takes 3
constexpr size_t kLongestMatch = 258;
constexpr unsigned kHashBits = 15;
constexpr size_t kTokensPerBlock = size_t{1} << 16;
constexpr unsigned kLongestCode = 15;
constexpr unsigned kLongestLengthCode = 7;
constexpr uint32_t kEndOfBlock = 256;

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                                    33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtraBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a block gives the lengths of the code-length code.
constexpr std::array<uint8_t, 19> kLengthCodeOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// A literal byte (length 0) or a match of length bytes at distance.
struct Token {
    uint16_t length = 0;
    uint16_t value = 0;  // the byte, or the distance
};

// DEFLATE's bits, the first of each field lowest.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void put(uint64_t bits, unsigned count) {
        pending_ |= bits << pendingCount_;
        pendingCount_ += count;
        while (pendingCount_ >= 8) {
            out_.push_back(static_cast<uint8_t>(pending_));
            pending_ >>= 8;
            pendingCount_ -= 8;
        }
    }
    void finishByte() {
        if (pendingCount_ > 0) {
            put(0, 8 - pendingCount_);
        }
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t pending_ = 0;
    unsigned pendingCount_ = 0;
};

uint32_t load32(const uint8_t* bytes) {
    uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Greedy LZ77: at each position the last one with the same four bytes, if
// it lies in the window.
LargeVector<Token> findMatches(std::span<const uint8_t> bytes) {
    LargeVector<Token> tokens;
    tokens.reserve(bytes.size());
    std::vector<int64_t> lastAt(size_t{1} << kHashBits, -1);
    const size_t size = bytes.size();
    size_t at = 0;
    while (at + kShortestMatch <= size) {
        const uint32_t word = load32(bytes.data() + at);
        const uint32_t hash = (word * 2654435761u) >> (32 - kHashBits);
        const int64_t candidate = lastAt[hash];
        lastAt[hash] = static_cast<int64_t>(at);
        if (candidate < 0 || at - static_cast<size_t>(candidate) > kWindow ||
            load32(bytes.data() + candidate) != word) {
            tokens.push_back({0, bytes[at++]});
            continue;
        }
        const size_t longest = std::min(kLongestMatch, size - at);
        size_t length = kShortestMatch;
        while (length < longest && bytes[static_cast<size_t>(candidate) + length] == bytes[at + length]) {
            ++length;
        }
        tokens.push_back({static_cast<uint16_t>(length), static_cast<uint16_t>(at - static_cast<size_t>(candidate))});
        at += length;
    }
    while (at < size) {
        tokens.push_back({0, bytes[at++]});
    }
    return tokens;
}

size_t lengthSymbolIndex(uint32_t length) {
    return static_cast<size_t>(std::upper_bound(kLengthBase.begin(), kLengthBase.end(), length) - kLengthBase.begin()) - 1;
}

size_t distanceSymbolIndex(uint32_t distance) {
    return static_cast<size_t>(std::upper_bound(kDistanceBase.begin(), kDistanceBase.end(), distance) -
                               kDistanceBase.begin()) - 1;
}

// A block's two codes: literals and lengths, and distances.
struct BlockCodes {
    std::vector<uint8_t> literalLengths;
    std::vector<uint16_t> literalCodes;
    std::vector<uint8_t> distanceLengths;
    std::vector<uint16_t> distanceCodes;
};

BlockCodes codesFor(std::span<const Token> tokens) {
    std::vector<uint32_t> literals(286, 0);
    std::vector<uint32_t> distances(30, 0);
    for (const Token& token : tokens) {
        if (token.length == 0) {
            ++literals[token.value];
        } else {
            ++literals[257 + lengthSymbolIndex(token.length)];
            ++distances[distanceSymbolIndex(token.value)];
        }
    }
    literals[kEndOfBlock] = 1;
    BlockCodes codes;
    codes.literalLengths = limitedCodeLengths(literals, kLongestCode);
    codes.literalCodes = canonicalCodes(codes.literalLengths);
    codes.distanceLengths = limitedCodeLengths(distances, kLongestCode);
    codes.distanceCodes = canonicalCodes(codes.distanceLengths);
    return codes;
}

// The lengths up to the last that is not 0, at least minimum of them.
std::vector<uint8_t> usedLengths(const std::vector<uint8_t>& lengths, size_t minimum) {
    size_t count = lengths.size();
    while (count > minimum && lengths[count - 1] == 0) {
        --count;
    }
    return {lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(count)};
}

// Code lengths run-length coded: a symbol 0-15, or 16 (repeat the last 3-6
// times), 17 (3-10 zeros) or 18 (11-138 zeros) with the run in extra bits.
struct LengthSymbol {
    uint8_t symbol;
    uint8_t extra;
};

std::vector<LengthSymbol> runsOf(const std::vector<uint8_t>& lengths) {
    std::vector<LengthSymbol> symbols;
    for (size_t at = 0; at < lengths.size();) {
        const uint8_t length = lengths[at];
        size_t run = 1;
        while (at + run < lengths.size() && lengths[at + run] == length) {
            ++run;
        }
        at += run;
        if (length != 0) {
            symbols.push_back({length, 0});
            --run;
        }
        while (length == 0 && run >= 11) {
            const size_t taken = std::min<size_t>(run, 138);
            symbols.push_back({18, static_cast<uint8_t>(taken - 11)});
            run -= taken;
        }
        while (run >= 3) {
            const size_t taken = std::min<size_t>(run, length == 0 ? 10 : 6);
            symbols.push_back({static_cast<uint8_t>(length == 0 ? 17 : 16), static_cast<uint8_t>(taken - 3)});
            run -= taken;
        }
        for (; run > 0; --run) {
            symbols.push_back({length, 0});
        }
    }
    return symbols;
}

unsigned extraBitsOf(uint8_t lengthSymbol) {
    return lengthSymbol == 16 ? 2 : lengthSymbol == 17 ? 3 : lengthSymbol == 18 ? 7 : 0;
}

// The block's header: its kind, and its two codes by their lengths, run
// coded with a third code.
void writeBlockHeader(BitWriter& bits, const BlockCodes& codes, bool last) {
    const std::vector<uint8_t> literalLengths = usedLengths(codes.literalLengths, 257);
    const std::vector<uint8_t> distanceLengths = usedLengths(codes.distanceLengths, 1);
    std::vector<uint8_t> lengths = literalLengths;
    lengths.insert(lengths.end(), distanceLengths.begin(), distanceLengths.end());
    const std::vector<LengthSymbol> runs = runsOf(lengths);
    std::vector<uint32_t> frequencies(19, 0);
    for (const LengthSymbol& run : runs) {
        ++frequencies[run.symbol];
    }
    const std::vector<uint8_t> lengthCodeLengths = limitedCodeLengths(frequencies, kLongestLengthCode);
    const std::vector<uint16_t> lengthCodes = canonicalCodes(lengthCodeLengths);
    size_t given = kLengthCodeOrder.size();
    while (given > 4 && lengthCodeLengths[kLengthCodeOrder[given - 1]] == 0) {
        --given;
    }
    bits.put(last ? 1 : 0, 1);
    bits.put(2, 2);  // dynamic codes
    bits.put(literalLengths.size() - 257, 5);
    bits.put(distanceLengths.size() - 1, 5);
    bits.put(given - 4, 4);
    for (size_t index = 0; index < given; ++index) {
        bits.put(lengthCodeLengths[kLengthCodeOrder[index]], 3);
    }
    for (const LengthSymbol& run : runs) {
        bits.put(lengthCodes[run.symbol], lengthCodeLengths[run.symbol]);
        bits.put(run.extra, extraBitsOf(run.symbol));
    }
}

void writeToken(BitWriter& bits, const BlockCodes& codes, const Token& token) {
    if (token.length == 0) {
        bits.put(codes.literalCodes[token.value], codes.literalLengths[token.value]);
        return;
    }
    const size_t lengthIndex = lengthSymbolIndex(token.length);
    bits.put(codes.literalCodes[257 + lengthIndex], codes.literalLengths[257 + lengthIndex]);
    bits.put(token.length - kLengthBase[lengthIndex], kLengthExtraBits[lengthIndex]);
    const size_t distanceIndex = distanceSymbolIndex(token.value);
    bits.put(codes.distanceCodes[distanceIndex], codes.distanceLengths[distanceIndex]);
    bits.put(token.value - kDistanceBase[distanceIndex], kDistanceExtraBits[distanceIndex]);
}

void writeBlock(BitWriter& bits, std::span<const Token> tokens, bool last) {
    const BlockCodes codes = codesFor(tokens);
    writeBlockHeader(bits, codes, last);
    for (const Token& token : tokens) {
        writeToken(bits, codes, token);
    }
    bits.put(codes.literalCodes[kEndOfBlock], codes.literalLengths[kEndOfBlock]);
}

uint32_t adler32(std::span<const uint8_t> bytes) {
    constexpr uint32_t kModulus = 65521;
    constexpr size_t kLongestRun = 5552;  // the most bytes before the sums can overflow
    uint32_t low = 1;
    uint32_t high = 0;
    for (size_t start = 0; start < bytes.size(); start += kLongestRun) {
        const size_t end = std::min(bytes.size(), start + kLongestRun);
        for (size_t at = start; at < end; ++at) {
            low += bytes[at];
            high += low;
        }
        low %= kModulus;
        high %= kModulus;
    }
    return high << 16 | low;
}

}  // namespace

std::vector<uint8_t> compressZlibQuickly(std::span<const uint8_t> bytes) {
    if (bytes.size() >= static_cast<size_t>(INT_MAX)) {
        return {};
    }
    std::vector<uint8_t> stream{0x78, 0x01};  // deflate, 32 KiB window, no dictionary
    BitWriter bits(stream);
    const LargeVector<Token> tokens = findMatches(bytes);
    size_t start = 0;
    do {
        const size_t count = std::min(kTokensPerBlock, tokens.size() - start);
        writeBlock(bits, std::span<const Token>(tokens).subspan(start, count), start + count == tokens.size());
        start += count;
    } while (start < tokens.size());
    bits.finishByte();
    const uint32_t check = adler32(bytes);
    for (const int shift : {24, 16, 8, 0}) {
        stream.push_back(static_cast<uint8_t>(check >> shift));
    }
    return stream;
}

}  // namespace zelvane::image
