#include "OutputSet.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Platform.h"

namespace zelvane {

OutputSet::~OutputSet() {
    if (!committed_) {
        removeTemporaries();
    }
}

OutputFile* OutputSet::create(const std::string& path) {
    static unsigned sequence = 0;
    std::string temporary =
        path + "." + std::to_string(currentProcessId()) + "-" + std::to_string(sequence++) + ".tmp";
    auto file = std::make_unique<OutputFile>(path, std::move(temporary));
    if (!file->open()) {
        fail(*file, file->failure());
        return nullptr;
    }
    files_.push_back(std::move(file));
    return files_.back().get();
}

bool OutputSet::fail(const OutputFile& file, std::string reason) {
    if (!error_) {
        error_ = OutputError{file.path(), std::move(reason)};
    }
    return false;
}

bool OutputSet::close(OutputFile& file) {
    return file.close() || fail(file, file.failure());
}

bool OutputSet::commit() {
    for (const auto& file : files_) {
        if (!close(*file)) {
            return false;
        }
    }
    // A folder in a file's place would fail its rename after others had
    // already replaced theirs: refuse before any rename.
    for (const auto& file : files_) {
        if (isFolder(file->path())) {
            return fail(*file, std::strerror(EISDIR));
        }
    }
    for (const auto& file : files_) {
        if (!replaceFile(file->temporaryPath(), file->path())) {
            return fail(*file, std::strerror(errno));
        }
    }
    committed_ = true;
    return true;
}

void OutputSet::removeTemporaries() {
    for (const auto& file : files_) {
        file->close();
        std::remove(file->temporaryPath().c_str());
    }
}

}  // namespace zelvane
