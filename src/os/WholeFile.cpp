#include "WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Platform.h"

namespace zelvane {

std::string readWholeFile(const std::string& path, uint64_t largest, std::vector<uint8_t>& bytes) {
    std::FILE* file = openBinaryFile(path);
    if (file == nullptr) {
        return std::strerror(errno);
    }
    const FileStatus status = statusOf(file);
    std::string reason;
    if (!status.regular) {
        reason = "not a regular file";
    } else if (status.size > largest) {
        reason = "larger than " + std::to_string(largest >> 20) + " MiB";
    } else {
        bytes.resize(static_cast<size_t>(status.size));
        const bool whole = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fgetc(file) == EOF;
        reason = whole ? "" : "could not be read whole";
    }
    std::fclose(file);
    return reason;
}

}  // namespace zelvane
