#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

// Reads the whole of a regular file of at most largest bytes (a whole number
// of MiB) into bytes. Returns why it could not, in plain words ("larger than
// 256 MiB", "not a regular file", the system's reason), or "".
std::string readWholeFile(const std::string& path, uint64_t largest, std::vector<uint8_t>& bytes);

}  // namespace zelvane
