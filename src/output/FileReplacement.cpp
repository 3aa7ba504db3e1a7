#include "FileReplacement.h"

#include <cerrno>
#include <utility>

#include "Interrupts.h"
#include "os/FinalPath.h"
#include "os/ReplaceCalls.h"

namespace zelvane {

FileReplacement::~FileReplacement() {
    closeStream();
    InterruptDeferral deferral;
    undo();
    if (watched_) {
        forgetReplacement(*this);
    }
}

bool FileReplacement::create(const std::string& path, const std::string& suffix, FileMode mode) {
    // The temporary is on the watch list from the moment it exists. And no
    // other thread places an output while this one looks at the file it is
    // to replace: Windows cannot replace a file that is open, even only to
    // be looked at.
    InterruptDeferral deferral;
    if (!findFinalPath(path, target_)) {
        return false;
    }
    if (isSpecialFile(target_)) {
        errno = ENOTSUP;  // writing to a device is not what replacing it does
        return false;
    }
    temporary_ = target_ + suffix;
    aside_ = temporary_ + ".old";
    stream_ = calls_.create(temporary_, mode);
    if (stream_ == nullptr) {
        return false;
    }
    stage_ = kWriting;
    watchReplacement(*this);
    watched_ = true;
    if (!calls_.keepPermissions(target_, stream_)) {
        const int error = errno;
        closeStream();
        undo();
        errno = error;
        return false;
    }
    return true;
}

bool FileReplacement::closeStream() {
    // An interrupt on Windows closes every watched stream on the thread that
    // leaves: not one that another thread is closing.
    const InterruptDeferral deferral;
    if (stream_ == nullptr) {
        return true;
    }
    return calls_.close(std::exchange(stream_, nullptr));
}

// Linux swaps the two names in one step, so that the final path never goes
// missing and the earlier file waits under the temporary's name. Elsewhere,
// or where the file system cannot swap, the earlier file gets a second name
// first and the temporary is renamed over it.
bool FileReplacement::place() {
    if (calls_.exchange(temporary_, target_)) {
        stage_ = kExchanged;
        return true;
    }
    if (errno == ENOENT) {
        return placeNew();
    }
    if (!exchangeIsUnsupported(errno)) {
        return false;
    }
    return placeOverKeptCopy();
}

bool FileReplacement::placeNew() {
    if (!calls_.rename(temporary_, target_)) {
        return false;
    }
    stage_ = kCreated;
    return true;
}

// Where the file system has no second names for a file, the earlier one is
// moved aside, which leaves its name missing until the rename after it.
bool FileReplacement::placeOverKeptCopy() {
    if (calls_.link(target_, aside_)) {
        stage_ = kLinkedAside;
    } else if (errno != ENOENT && calls_.rename(target_, aside_)) {
        stage_ = kMovedAside;
    } else if (errno == ENOENT) {
        return placeNew();  // no earlier file
    } else {
        return false;
    }
    if (!calls_.rename(temporary_, target_)) {
        const int error = errno;
        stepBack();
        errno = error;
        return false;
    }
    stage_ = kPlacedOverAside;
    return true;
}

void FileReplacement::finish() {
    if (stage_ == kExchanged) {
        calls_.remove(temporary_);
    } else if (stage_ == kPlacedOverAside) {
        calls_.remove(aside_);
    }
    stage_ = kFinished;
}

void FileReplacement::undo() noexcept {
    while (stage_ != kNothing && stage_ != kFinished) {
        stepBack();
    }
}

// Takes back the last step taken. A step that cannot be taken back leaves
// the files as they are: a temporary that holds the only copy of an earlier
// file is kept rather than removed.
void FileReplacement::stepBack() noexcept {
    switch (stage_) {
        case kWriting:
            calls_.remove(temporary_);
            stage_ = kNothing;
            break;
        case kExchanged:
            stage_ = calls_.exchange(temporary_, target_) ? kWriting : kNothing;
            break;
        case kCreated:
            calls_.remove(target_);
            stage_ = kNothing;
            break;
        case kLinkedAside:
            calls_.remove(aside_);
            stage_ = kWriting;
            break;
        case kMovedAside:
            calls_.rename(aside_, target_);
            stage_ = kWriting;
            break;
        case kPlacedOverAside:
            calls_.rename(aside_, target_);
            stage_ = kNothing;
            break;
        default:
            break;
    }
}

}  // namespace zelvane
