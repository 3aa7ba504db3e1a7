#include "HuffmanLengths.h"

#include <algorithm>

namespace zelvane::image {
namespace {

// A leaf (a symbol) or a package of two items of the level below.
struct Item {
    uint64_t weight = 0;
    int32_t symbol = -1;  // a leaf's symbol; -1 for a package
    int32_t first = -1;   // a package's two items
    int32_t second = -1;
};

// The leaves and the packages of the level below, by weight, leaves first
// where the weights are equal.
std::vector<int32_t> mergeByWeight(const std::vector<Item>& items, const std::vector<int32_t>& leaves,
                                   const std::vector<int32_t>& packages) {
    std::vector<int32_t> merged;
    merged.reserve(leaves.size() + packages.size());
    size_t leaf = 0;
    size_t package = 0;
    while (leaf < leaves.size() || package < packages.size()) {
        const bool takeLeaf = package == packages.size() ||
                              (leaf < leaves.size() && items[leaves[leaf]].weight <= items[packages[package]].weight);
        merged.push_back(takeLeaf ? leaves[leaf++] : packages[package++]);
    }
    return merged;
}

// Each symbol in the item gets one bit more.
void lengthenSymbolsOf(const std::vector<Item>& items, int32_t item, std::vector<uint8_t>& lengths) {
    if (items[item].symbol >= 0) {
        ++lengths[items[item].symbol];
        return;
    }
    lengthenSymbolsOf(items, items[item].first, lengths);
    lengthenSymbolsOf(items, items[item].second, lengths);
}

uint16_t reversedBits(uint32_t code, unsigned length) {
    uint32_t reversed = 0;
    for (unsigned bit = 0; bit < length; ++bit) {
        reversed = reversed << 1 | (code >> bit & 1);
    }
    return static_cast<uint16_t>(reversed);
}

}  // namespace

std::vector<uint8_t> limitedCodeLengths(std::vector<uint32_t> frequencies, unsigned limit) {
    size_t used = static_cast<size_t>(std::count_if(frequencies.begin(), frequencies.end(), [](uint32_t f) { return f > 0; }));
    for (size_t symbol = 0; used < 2 && symbol < frequencies.size(); ++symbol) {
        if (frequencies[symbol] == 0) {
            frequencies[symbol] = 1;
            ++used;
        }
    }
    std::vector<Item> items;
    std::vector<int32_t> leaves;
    for (size_t symbol = 0; symbol < frequencies.size(); ++symbol) {
        if (frequencies[symbol] > 0) {
            leaves.push_back(static_cast<int32_t>(items.size()));
            items.push_back({frequencies[symbol], static_cast<int32_t>(symbol), -1, -1});
        }
    }
    std::stable_sort(leaves.begin(), leaves.end(),
                     [&items](int32_t a, int32_t b) { return items[a].weight < items[b].weight; });
    std::vector<int32_t> level = leaves;
    for (unsigned depth = 1; depth < limit; ++depth) {
        std::vector<int32_t> packages;
        for (size_t index = 0; index + 1 < level.size(); index += 2) {
            packages.push_back(static_cast<int32_t>(items.size()));
            items.push_back({items[level[index]].weight + items[level[index + 1]].weight, -1, level[index],
                             level[index + 1]});
        }
        level = mergeByWeight(items, leaves, packages);
    }
    std::vector<uint8_t> lengths(frequencies.size(), 0);
    for (size_t index = 0; index + 2 < 2 * leaves.size() && index < level.size(); ++index) {
        lengthenSymbolsOf(items, level[index], lengths);
    }
    return lengths;
}

std::vector<uint16_t> canonicalCodes(const std::vector<uint8_t>& lengths) {
    constexpr unsigned kLongest = 15;
    uint32_t countOfLength[kLongest + 1] = {};
    for (const uint8_t length : lengths) {
        ++countOfLength[length];
    }
    countOfLength[0] = 0;
    uint32_t nextCode[kLongest + 1] = {};
    uint32_t code = 0;
    for (unsigned length = 1; length <= kLongest; ++length) {
        code = (code + countOfLength[length - 1]) << 1;
        nextCode[length] = code;
    }
    std::vector<uint16_t> codes(lengths.size(), 0);
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        if (lengths[symbol] > 0) {
            codes[symbol] = reversedBits(nextCode[lengths[symbol]]++, lengths[symbol]);
        }
    }
    return codes;
}

}  // namespace zelvane::image
