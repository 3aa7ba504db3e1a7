// The one UTF-8 decoder against Python's decoding of the same bytes with
// errors="replace", which follows Unicode's advice for bytes that are not
// UTF-8: a table of hostile sequences by kind, and thousands of random ones.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "unicode/Utf8Text.h"

namespace zelvane {
namespace {

using namespace test;

// The characters, in hex separated by blanks, that our decoder makes of bytes.
std::string ourCharacters(const std::string& bytes) {
    std::ostringstream out;
    for (size_t index = 0; index < bytes.size();) {
        const Utf8Character character = decodeUtf8(bytes, index);
        EXPECT_GT(character.size, 0u);
        out << (index == 0 ? "" : " ") << std::hex << static_cast<uint32_t>(character.code);
        index += character.size;
    }
    return out.str();
}

std::string hexOf(const std::string& bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += {kDigits[byte >> 4], kDigits[byte & 0xF]};
    }
    return hex;
}

// Python's characters for each of the byte strings, in the same form.
std::vector<std::string> pythonCharacters(const std::vector<std::string>& cases) {
    TempFolder folder;
    std::string input;
    for (const std::string& bytes : cases) {
        input += hexOf(bytes) + "\n";
    }
    writeFile(folder.file("cases.txt"), input);
    const char* script =
        "import sys\n"
        "for line in open(sys.argv[1]):\n"
        "    text = bytes.fromhex(line.strip()).decode('utf-8', 'replace')\n"
        "    print(' '.join('%x' % ord(c) for c in text))\n";
    const CommandResult result = runProgram(ZELVANE_PYTHON, {"-c", script, folder.file("cases.txt")}, folder.path());
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<std::string> lines = splitLines(result.out);
    lines.resize(cases.size());
    return lines;
}

void expectAsPython(const std::vector<std::string>& cases) {
    const std::vector<std::string> python = pythonCharacters(cases);
    for (size_t k = 0; k < cases.size(); ++k) {
        EXPECT_EQ(ourCharacters(cases[k]), python[k]) << "bytes " << hexOf(cases[k]);
    }
}

TEST(Utf8Text, HostileSequencesDecodeAsPythonDecodesThem) {
    const std::vector<std::string> cases = {
        // well-formed, at the edges of each length
        "a\x7F", "\xC2\x80\xDF\xBF", "\xE0\xA0\x80\xEF\xBF\xBF\xED\x9F\xBF\xEE\x80\x80", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
        // cut short, in the middle and at the end
        "\xC3", "\xE2\x82", "\xE2\x82z", "\xF0\x9F\x99", "\xF0\x9F\x99z", "\xF0\x9Fz\x99", "\xE2\xC3\xA9",
        // longer than the value needs
        "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xE0\x9F\xBF", "\xF0\x80\x80\xAF", "\xF0\x8F\xBF\xBF",
        // surrogates, alone and as a pair
        "\xED\xA0\x80", "\xED\xBF\xBF", "\xED\xA0\x80\xED\xB0\x80", "\xED\xA0",
        // past U+10FFFF, and bytes that start nothing
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80", "\xFE\xFF",
        // continuation bytes alone
        "\x80", "\xBF", "\x80\xBF\x80", "a\x80z",
        // Latin-1 text and a mixture
        "caf\xE9", "a\xE2\x82" "b\xC3\xA9\xF0\x9F\x99\x82\xED\x9F\xBF\xF4",
    };
    expectAsPython(cases);
}

TEST(Utf8Text, RandomBytesDecodeAsPythonDecodesThem) {
    std::mt19937 random(11);
    // Mostly bytes that start or continue sequences, where the rules bite.
    const auto byte = [&random] {
        const uint32_t draw = random() % 16;
        return static_cast<char>(draw < 2 ? random() % 0x80 : draw < 8 ? 0x80 + random() % 0x40 : 0xC0 + random() % 0x40);
    };
    std::vector<std::string> cases;
    for (int k = 0; k < 3000; ++k) {
        std::string bytes;
        for (uint32_t length = 1 + random() % 8; length > 0; --length) {
            bytes.push_back(byte());
        }
        cases.push_back(bytes);
    }
    expectAsPython(cases);
}

}  // namespace
}  // namespace zelvane
