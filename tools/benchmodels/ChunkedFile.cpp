#include "ChunkedFile.h"

namespace zelvane::tools {
namespace {

constexpr size_t kChunkSize = size_t{1} << 20;

}  // namespace

ChunkedFile::ChunkedFile(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
    bytes_.reserve(kChunkSize + 4096);
}

ChunkedFile::~ChunkedFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void ChunkedFile::flushIfLarge() {
    if (bytes_.size() >= kChunkSize) flush();
}

void ChunkedFile::appendFile(const std::string& path) {
    flush();
    FILE* source = file_ == nullptr ? nullptr : std::fopen(path.c_str(), "rb");
    if (source == nullptr) {
        failed_ = true;
        return;
    }
    bytes_.resize(kChunkSize);
    size_t got = 0;
    while ((got = std::fread(bytes_.data(), 1, kChunkSize, source)) > 0) {
        if (std::fwrite(bytes_.data(), 1, got, file_) != got) failed_ = true;
    }
    if (std::ferror(source)) failed_ = true;
    std::fclose(source);
    bytes_.clear();
}

bool ChunkedFile::finish() {
    if (file_ == nullptr) return false;
    flush();
    const bool ok = !failed_ && std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

void ChunkedFile::flush() {
    if (file_ == nullptr) {
        failed_ = true;
    } else if (std::fwrite(bytes_.data(), 1, bytes_.size(), file_) != bytes_.size()) {
        failed_ = true;
    }
    bytes_.clear();
}

}  // namespace zelvane::tools
