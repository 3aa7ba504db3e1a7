#include "PillowReader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "Files.h"

namespace zelvane::test {

namespace {

std::vector<uint8_t> fromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t at = 0; at + 1 < hex.size(); at += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

PillowImage parseLine(const std::string& line) {
    PillowImage image;
    std::istringstream words(line);
    std::string status;
    words >> status;
    if (status != "ok") {
        image.error = line;
        return image;
    }
    std::string hex;
    words >> image.mode >> image.width >> image.height >> hex;
    image.ok = !hex.empty();
    image.rgba = fromHex(hex);
    return image;
}

}  // namespace

std::vector<PillowImage> readWithPillow(const std::vector<std::string>& paths) {
    std::vector<std::string> arguments{ZELVANE_PIXELS_SCRIPT};
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    const CommandResult result = runProgram(ZELVANE_PILLOW_PYTHON, arguments, ".");
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<PillowImage> images;
    for (const std::string& line : splitLines(result.out)) {
        if (!line.empty()) {
            images.push_back(parseLine(line));
        }
    }
    EXPECT_EQ(images.size(), paths.size()) << result.err;
    images.resize(paths.size());
    return images;
}

}  // namespace zelvane::test
