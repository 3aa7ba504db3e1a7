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

struct RunOptions {
    long fileSizeLimit = 0;  // above 0: caps the size of any file the program writes
    bool asNobody = false;   // run as user and group 65534; the caller must be root
    long addressSpaceLimit = 0;  // above 0: caps the program's virtual memory, reservations included
};

// Runs a program with arguments in a working folder, capturing its output.
CommandResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, const RunOptions& options);
// A fileSizeLimit above 0 caps the size of any file the program writes.
CommandResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, long fileSizeLimit = 0);

}  // namespace zelvane::test
