#include "Files.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zelvane::test {
namespace {

// An unnamed scratch file for a child's output stream.
int scratchFile() {
    char name[] = "/tmp/zelvane-output-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("cannot create a scratch file");
    }
    unlink(name);
    return fd;
}

// Drops root for the unprivileged user and group 65534, supplementary groups
// included, so that permissions bind.
bool becomeNobody() {
    constexpr gid_t kNobodyGroup = 65534;
    constexpr uid_t kNobodyUser = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNobodyGroup) == 0 && setuid(kNobodyUser) == 0;
}

// Sets a limit, both soft and hard, when it is above 0.
template <typename Resource>
void limitTo(Resource resource, long limit) {
    if (limit > 0) {
        const rlimit both{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        setrlimit(resource, &both);
    }
}

std::string readDescriptor(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char chunk[65536];
    for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) {
        text.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return text;
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::map<std::string, std::string> folderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            contents[entry.path().filename().string()] = readFile(entry.path().string());
        }
    }
    return contents;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

CommandResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, long fileSizeLimit) {
    return runProgram(program, arguments, workingFolder, RunOptions{fileSizeLimit, false});
}

CommandResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, const RunOptions& options) {
    const int outFd = scratchFile();
    const int errFd = scratchFile();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (options.asNobody && !becomeNobody()) {
            _exit(126);
        }
        if (chdir(workingFolder.c_str()) != 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) {
            _exit(127);
        }
        limitTo(RLIMIT_FSIZE, options.fileSizeLimit);
        limitTo(RLIMIT_AS, options.addressSpaceLimit);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    CommandResult result;
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readDescriptor(outFd);
    result.err = readDescriptor(errFd);
    return result;
}

}  // namespace zelvane::test
