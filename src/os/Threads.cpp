#include "Threads.h"

#include <utility>

#ifndef _WIN32
#include <pthread.h>

#include "InterruptSignals.h"
#endif

namespace zelvane {

#ifdef _WIN32

std::thread startThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

#else

// A new thread starts with the signal mask of the thread that starts it.
std::thread startThread(std::function<void()> work) {
    const sigset_t signals = interruptSignalSet();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &signals, &previous);
    struct RestoreMask {
        const sigset_t& mask;
        ~RestoreMask() { pthread_sigmask(SIG_SETMASK, &mask, nullptr); }
    } restore{previous};
    return std::thread(std::move(work));
}

#endif

}  // namespace zelvane
