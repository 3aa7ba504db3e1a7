#include "OutputSet.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "Interrupts.h"
#include "OutputPlaces.h"
#include "os/Platform.h"

namespace zelvane {

// Files not committed take themselves back, the latest first.
OutputSet::~OutputSet() {
    while (!files_.empty()) {
        files_.pop_back();
    }
}

OutputFile* OutputSet::create(const std::string& path, FileMode mode) {
    static std::atomic<unsigned> sequence = 0;  // models may be converted side by side
    std::string suffix = ".";
    suffix += std::to_string(currentProcessId()) + "-" + std::to_string(sequence++) + ".tmp";
    if (!inputs_.empty()) {
        const FileIdentity there = identityBesideOutputs(path);
        if (there != FileIdentity{} && std::find(inputs_.begin(), inputs_.end(), there) != inputs_.end()) {
            refuse(path, "is read by this run and cannot be written too (--output-dir writes the outputs elsewhere)");
            return nullptr;
        }
    }
    auto file = std::make_unique<OutputFile>(path, std::move(suffix), mode, calls_);
    if (!file->open()) {
        fail(*file, file->failure());
        return nullptr;
    }
    files_.push_back(std::move(file));
    return files_.back().get();
}

std::vector<std::string> OutputSet::paths() const {
    std::vector<std::string> paths;
    for (const auto& file : files_) {
        paths.push_back(file->path());
    }
    return paths;
}

bool OutputSet::fail(const OutputFile& file, std::string reason) {
    return refuse(file.path(), std::move(reason));
}

bool OutputSet::refuse(const std::string& path, std::string reason) {
    if (!error_) {
        error_ = OutputError{path, std::move(reason)};
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
    // A folder in a file's place could be swapped like a file: refuse it.
    for (const auto& file : files_) {
        if (isFolder(file->path())) {
            return fail(*file, std::strerror(EISDIR));
        }
    }
    if (!placeFiles()) {
        return false;
    }
    finishFiles();
    return true;
}

// Placing is a handful of renames, done with interrupts deferred: an
// interrupt waits until every file is in place or every one taken back, and
// one that came while the files were written ends the run before any is
// placed. Whatever keeps a file from being replaced (another owner in a
// shared folder, an immutable file) stops the run here, and the files placed
// before it are taken back.
bool OutputSet::placeFiles() {
    InterruptDeferral deferral;
    leaveIfInterrupted();
    for (size_t index = 0; index < files_.size(); ++index) {
        if (!files_[index]->replacement().place()) {
            const int error = errno;
            for (size_t placed = index; placed-- > 0;) {
                files_[placed]->replacement().undo();
            }
            return fail(*files_[index], std::strerror(error));
        }
    }
    return true;
}

// An interrupt between placing and finishing still takes every file back;
// one while finishing waits until the run is complete.
void OutputSet::finishFiles() {
    InterruptDeferral deferral;
    for (const auto& file : files_) {
        file->replacement().finish();
    }
}

}  // namespace zelvane
