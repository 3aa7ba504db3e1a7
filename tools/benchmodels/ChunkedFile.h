// A binary output file filled through a memory buffer that goes to disk in
// large chunks; the first failure of any write or of the close is kept.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zelvane::tools {

class ChunkedFile {
public:
    explicit ChunkedFile(const std::string& path);
    ~ChunkedFile();
    ChunkedFile(const ChunkedFile&) = delete;
    ChunkedFile& operator=(const ChunkedFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Append here, then call flushIfLarge.
    std::vector<uint8_t>& bytes() { return bytes_; }
    void flushIfLarge();
    // Appends the whole content of the file at path.
    void appendFile(const std::string& path);
    // Writes what is left and closes; false if anything failed.
    bool finish();

private:
    void flush();

    FILE* file_;
    std::vector<uint8_t> bytes_;
    bool failed_ = false;
};

// Little-endian hosts only, like the rest of the generator.
template <typename T>
void appendRaw(std::vector<uint8_t>& bytes, T value) {
    const auto* raw = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

}  // namespace zelvane::tools
