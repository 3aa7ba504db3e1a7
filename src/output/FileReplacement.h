// A new file written under a temporary name and then put in place of the
// file its path finally names: when the path is a symbolic link, the file at
// the end of the link is replaced and the link stays. The earlier file keeps
// its name throughout where the system can swap two names in one step, and
// stays at hand until finish() so that undo() can bring it back.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>

#include "FileCalls.h"

namespace zelvane {

class FileReplacement {
public:
    explicit FileReplacement(const FileCalls& calls) : calls_(calls) {}
    // Undoes whatever has not been finished.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary, named after the final file plus suffix and beside
    // it, with the permission bits of the file it replaces, if any. From then
    // on an interrupt undoes this replacement. False with errno set.
    bool create(const std::string& path, const std::string& suffix, FileMode mode);
    // The temporary, open for writing; nullptr once closed.
    std::FILE* stream() const { return stream_; }
    // Flushes and closes the temporary; false with errno set.
    bool closeStream();
    // Puts the closed temporary in place. Call with interrupts deferred (see
    // Interrupts.h); false with errno set and the earlier file in place.
    bool place();
    // Removes the earlier file that was kept for undo.
    void finish();
    // Back to before create: the earlier file in its place, no temporary
    // left. Only renames and removals of paths prepared by create: on POSIX
    // safe in a signal handler. Nothing to do once finished.
    void undo() noexcept;

private:
    enum Stage : int {
        kNothing,         // no temporary, or undone
        kWriting,         // the temporary holds the new file; the final path is untouched
        kExchanged,       // the new file is in place, the earlier one under the temporary's name
        kCreated,         // the new file is in place where there was none
        kLinkedAside,     // the earlier file also has the aside name
        kMovedAside,      // the earlier file has only the aside name (its own is missing)
        kPlacedOverAside, // the new file is in place, the earlier one under the aside name
        kFinished,
    };

    bool placeNew();
    bool placeOverKeptCopy();
    void stepBack() noexcept;

    const FileCalls& calls_;
    std::string target_;     // the file the path finally names
    std::string temporary_;  // target_ plus the suffix
    std::string aside_;      // a second name for the earlier file where no exchange is possible
    std::FILE* stream_ = nullptr;
    volatile std::sig_atomic_t stage_ = kNothing;  // read by the signal handler
    bool watched_ = false;
};

}  // namespace zelvane
