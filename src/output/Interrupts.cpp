#include "Interrupts.h"

#include <algorithm>
#include <vector>

#include "FileReplacement.h"

namespace zelvane {
namespace {

// Changed only with interrupts deferred, read by the handler. Never freed, so
// that an interrupt while the process exits still finds it.
std::vector<FileReplacement*>* watched = nullptr;

bool anyWatched() {
    return watched != nullptr && !watched->empty();
}

// The thread that leaves closes every temporary, its own and those of other
// threads converting beside it: writes and closes hold the lock, so none of
// them is in use.
void closeWatchedStreams() {
    if (watched != nullptr) {
        for (FileReplacement* replacement : *watched) {
            replacement->closeStream();
        }
    }
}

void undoWatched() noexcept {
    if (watched == nullptr) {
        return;
    }
    for (size_t index = watched->size(); index-- > 0;) {
        (*watched)[index]->undo();
    }
}

}  // namespace

void installInterruptHandlers() {
    handleInterrupts({anyWatched, closeWatchedStreams, undoWatched});
}

void watchReplacement(FileReplacement& replacement) {
    if (watched == nullptr) {
        watched = new std::vector<FileReplacement*>;
    }
    watched->push_back(&replacement);
}

void forgetReplacement(FileReplacement& replacement) {
    const auto found = std::find(watched->rbegin(), watched->rend(), &replacement);
    if (found != watched->rend()) {
        watched->erase(std::next(found).base());
    }
}

}  // namespace zelvane
