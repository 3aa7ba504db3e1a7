// The signals that interrupt a run, on POSIX systems.
#pragma once

#ifndef _WIN32

#include <signal.h>

namespace zelvane {

inline constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};

inline sigset_t interruptSignalSet() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : kInterruptSignals) {
        sigaddset(&signals, signal);
    }
    return signals;
}

}  // namespace zelvane

#endif
