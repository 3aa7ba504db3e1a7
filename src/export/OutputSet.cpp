#include "OutputSet.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "os/Platform.h"

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

namespace {

std::string asidePath(const OutputFile& file) {
    return file.temporaryPath() + ".old";
}

}  // namespace

bool OutputSet::commit() {
    for (const auto& file : files_) {
        if (!close(*file)) {
            return false;
        }
    }
    // A folder in a file's place would be moved aside like a file: refuse it.
    for (const auto& file : files_) {
        if (isFolder(file->path())) {
            return fail(*file, std::strerror(EISDIR));
        }
    }
    std::vector<bool> movedAside(files_.size(), false);
    if (!moveExistingAside(movedAside) || !moveTemporariesIntoPlace(movedAside)) {
        return false;
    }
    for (size_t index = 0; index < files_.size(); ++index) {
        if (movedAside[index]) {
            removeFile(asidePath(*files_[index]));
        }
    }
    committed_ = true;
    return true;
}

// Existing outputs go aside first. Whatever keeps a file from being replaced
// (another owner in a shared folder, an immutable file) keeps it from being
// moved, and is found before any output has changed.
bool OutputSet::moveExistingAside(std::vector<bool>& movedAside) {
    for (size_t index = 0; index < files_.size(); ++index) {
        const OutputFile& file = *files_[index];
        if (!pathExists(file.path())) {
            continue;
        }
        if (!replaceFile(file.path(), asidePath(file))) {
            const int error = errno;
            restoreAside(movedAside);
            return fail(file, std::strerror(error));
        }
        movedAside[index] = true;
    }
    return true;
}

// Renames every temporary to its output path; on a failure takes back the
// ones already placed and restores the earlier files.
bool OutputSet::moveTemporariesIntoPlace(const std::vector<bool>& movedAside) {
    for (size_t index = 0; index < files_.size(); ++index) {
        const OutputFile& file = *files_[index];
        if (!replaceFile(file.temporaryPath(), file.path())) {
            const int error = errno;
            for (size_t placed = 0; placed < index; ++placed) {
                replaceFile(files_[placed]->path(), files_[placed]->temporaryPath());
            }
            restoreAside(movedAside);
            return fail(file, std::strerror(error));
        }
    }
    return true;
}

void OutputSet::restoreAside(const std::vector<bool>& movedAside) {
    for (size_t index = 0; index < files_.size(); ++index) {
        if (movedAside[index]) {
            replaceFile(asidePath(*files_[index]), files_[index]->path());
        }
    }
}

void OutputSet::removeTemporaries() {
    for (const auto& file : files_) {
        file->close();
        removeFile(file->temporaryPath());
    }
}

}  // namespace zelvane
