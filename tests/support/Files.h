#pragma once

#include <map>
#include <string>
#include <vector>

namespace zelvane::test {

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Every regular file in a folder, by name, with its contents.
std::map<std::string, std::string> folderContents(const std::string& folder);
std::vector<std::string> splitLines(const std::string& text);

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments in a working folder, capturing its output.
// A fileSizeLimit above 0 caps the size of any file the program writes.
CommandResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, long fileSizeLimit = 0);

}  // namespace zelvane::test
