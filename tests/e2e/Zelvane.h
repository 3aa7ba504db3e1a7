// Running the converter under test in a folder of its own.
//
// By default that is the zelvane built with these tests. The environment can
// name another build to run instead, for example a Windows one under wine:
//   ZELVANE_BIN=/path/to/zelvane.exe      the converter
//   ZELVANE_RUNNER=/usr/lib/wine/wine64   a program that runs it (optional)
//   ZELVANE_LINE_END=crlf                 its text outputs end lines in CR LF
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Files.h"
#include "GroupIds.h"
#include "Models.h"
#include "TempFolder.h"

namespace zelvane::test {

inline constexpr const char* kBanner = "Zelvane - The Darvonelle Converter [R0.1.4]\n";

inline std::string environmentOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// True when the converter's text files and console output end lines in CR LF.
inline bool crlfLineEnds() {
    static const bool crlf = [] {
        const std::string lineEnd = environmentOr("ZELVANE_LINE_END", "lf");
        if (lineEnd != "lf" && lineEnd != "crlf") {
            throw std::invalid_argument("ZELVANE_LINE_END must be lf or crlf, not " + lineEnd);
        }
        return lineEnd == "crlf";
    }();
    return crlf;
}

// True when the converter runs through ZELVANE_RUNNER, on a system that is
// not quite this one: limits, permissions and signals may not carry over.
inline bool underRunner() {
    return !environmentOr("ZELVANE_RUNNER", "").empty();
}

// Text with "\n" line ends as the converter under test writes it.
inline std::string outputText(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\n' && crlfLineEnds()) {
            result.push_back('\r');
        }
        result.push_back(c);
    }
    return result;
}

// The lines of a text the converter wrote, without their line ends.
inline std::vector<std::string> outputLines(const std::string& text) {
    std::vector<std::string> lines = splitLines(text);
    if (crlfLineEnds()) {
        for (std::string& line : lines) {
            EXPECT_TRUE(line.ends_with('\r')) << "line without CR LF end: " << line;
            if (line.ends_with('\r')) {
                line.pop_back();
            }
        }
    }
    return lines;
}

inline CommandResult runZelvaneIn(const TempFolder& folder, const std::vector<std::string>& arguments,
                                  long fileSizeLimit = 0) {
    const std::string program = environmentOr("ZELVANE_BIN", ZELVANE_BIN);
    const std::string runner = environmentOr("ZELVANE_RUNNER", "");
    if (runner.empty()) {
        return runProgram(program, arguments, folder.path(), fileSizeLimit);
    }
    std::vector<std::string> runnerArguments{program};
    runnerArguments.insert(runnerArguments.end(), arguments.begin(), arguments.end());
    return runProgram(runner, runnerArguments, folder.path(), fileSizeLimit);
}

// The load report of smallModel().
inline constexpr const char* kSmallModelReport =
    "poly count: 2\nstate changes: 2\nfragmentation: 100.00%\nflat shaded polygons: 1\npc: 2 tpc:1 qpc: 1\n";

}  // namespace zelvane::test
