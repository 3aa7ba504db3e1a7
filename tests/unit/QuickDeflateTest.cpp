// The quick zlib streams against Python's zlib, which must give back every
// input byte for byte, and the Huffman code lengths they rest on.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "image/HuffmanLengths.h"
#include "image/QuickDeflate.h"

namespace zelvane {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

// Inputs that reach every part of the stream: nothing, one byte, long runs
// (matches of 258 at distance 1), noise (literals only), text, repeats at
// the far end of the window, and more tokens than one block holds.
std::vector<Bytes> hostileInputs() {
    std::mt19937 random(5);
    std::vector<Bytes> inputs{{}, {42}, Bytes(1 << 20, 0), Bytes(100000, 0xFF)};
    Bytes noise(150000);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    inputs.push_back(noise);
    const std::string text = "the house stands on the ground, and the ground under the house; ";
    Bytes words;
    while (words.size() < 50000) words.insert(words.end(), text.begin(), text.end());
    inputs.push_back(words);
    Bytes far(32768 + 300);
    for (size_t index = 0; index < 32768; ++index) far[index] = static_cast<uint8_t>(random());
    std::copy(far.begin(), far.begin() + 300, far.begin() + 32768);  // a match at distance 32768
    inputs.push_back(far);
    Bytes mixed;
    for (int run = 0; run < 3000; ++run) {
        mixed.insert(mixed.end(), 3 + random() % 60, static_cast<uint8_t>(random() % 4));
        for (int k = 0; k < 20; ++k) mixed.push_back(static_cast<uint8_t>(random()));
    }
    inputs.push_back(mixed);
    return inputs;
}

TEST(QuickDeflate, PythonsZlibGivesBackEveryInput) {
    const TempFolder folder;
    const std::vector<Bytes> inputs = hostileInputs();
    std::vector<std::string> arguments{"-c",
                                       "import sys, zlib\n"
                                       "for name in sys.argv[1:]:\n"
                                       "    raw = open(name + '.raw', 'rb').read()\n"
                                       "    print(zlib.decompress(open(name + '.z', 'rb').read()) == raw)\n"};
    for (size_t index = 0; index < inputs.size(); ++index) {
        const std::string name = folder.file(std::to_string(index));
        writeFile(name + ".raw", inputs[index]);
        const Bytes stream = image::compressZlibQuickly(inputs[index]);
        writeFile(name + ".z", stream);
        arguments.push_back(name);
        if (index == 2) {
            EXPECT_LT(stream.size(), inputs[index].size() / 100) << "a run of zeros";
        }
    }
    const CommandResult result = runProgram(ZELVANE_PILLOW_PYTHON, arguments, folder.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(splitLines(result.out), std::vector<std::string>(inputs.size(), "True")) << result.err;
}

// A complete code (its Kraft sum exactly 1), no code over the limit, even
// for frequencies that grow like Fibonacci numbers, whose optimal code
// would go far deeper; fewer than two symbols get a second.
TEST(QuickDeflate, CodeLengthsAreCompleteAndWithinTheLimit) {
    const auto kraftSum = [](const std::vector<uint8_t>& lengths, unsigned limit) {
        uint64_t sum = 0;
        for (const uint8_t length : lengths) {
            sum += length == 0 ? 0 : uint64_t{1} << (limit - length);
        }
        return sum;
    };
    std::vector<uint32_t> fibonacci{1, 1};
    while (fibonacci.size() < 30) fibonacci.push_back(fibonacci[fibonacci.size() - 1] + fibonacci[fibonacci.size() - 2]);
    std::mt19937 random(9);
    std::vector<uint32_t> sparse(286, 0);
    for (int k = 0; k < 40; ++k) sparse[random() % 286] = static_cast<uint32_t>(1 + random() % 1000);
    for (const auto& [frequencies, limit] : std::vector<std::pair<std::vector<uint32_t>, unsigned>>{
             {fibonacci, 15}, {fibonacci, 7}, {sparse, 15}, {std::vector<uint32_t>(19, 3), 7}}) {
        const std::vector<uint8_t> lengths = image::limitedCodeLengths(frequencies, limit);
        EXPECT_EQ(kraftSum(lengths, limit), uint64_t{1} << limit);
        EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), limit);
        for (size_t symbol = 0; symbol < frequencies.size(); ++symbol) {
            EXPECT_EQ(lengths[symbol] > 0, frequencies[symbol] > 0) << symbol;
        }
    }
    std::vector<uint32_t> one(30, 0);
    one[7] = 5;
    const std::vector<uint8_t> lengths = image::limitedCodeLengths(one, 15);
    EXPECT_EQ(lengths[0], 1);
    EXPECT_EQ(lengths[7], 1);
    EXPECT_EQ(image::canonicalCodes(lengths)[0] ^ image::canonicalCodes(lengths)[7], 1);
}

}  // namespace
}  // namespace zelvane
