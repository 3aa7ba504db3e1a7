// Writing a whole file from bytes, for the tools that write images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvane::tools {

// false when the file cannot be written.
bool saveBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace zelvane::tools
