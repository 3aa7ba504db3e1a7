// How the system delivers interrupts and how they are held off. The
// interrupts are SIGINT, SIGTERM and SIGHUP, and on Windows Ctrl-C,
// Ctrl-Break and closing the console window. What an interrupt takes back
// comes from the caller (output/Interrupts.h); then one line
// "zelvane: interrupted" goes to standard error, and the process ends the way
// the interrupt would have ended it.
#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace zelvane {

// What an interrupt does before the process ends, called with interrupts
// deferred (on POSIX systems from the signal handler: takeBack only).
struct InterruptCleanup {
    bool (*anythingToTakeBack)() = nullptr;
    // Closes the files being written, on the thread that leaves: Windows
    // removes no file that is open.
    void (*closeFiles)() = nullptr;
    void (*takeBack)() = nullptr;
};

// Installs the handlers; a signal ignored when the program started stays
// ignored.
void handleInterrupts(const InterruptCleanup& cleanup);

// While one exists, an interrupt waits: the list of replacements can change
// and outputs be placed without an interrupt seeing either halfway. Nests.
// Threads that convert side by side each take one in turn: an interrupt is
// then handled by the one thread that holds it.
class InterruptDeferral {
public:
    InterruptDeferral();
    ~InterruptDeferral();
    InterruptDeferral(const InterruptDeferral&) = delete;
    InterruptDeferral& operator=(const InterruptDeferral&) = delete;

private:
#ifndef _WIN32
    sigset_t previous_;
#endif
};

// Ends the run as interrupted if an interrupt is waiting for this thread:
// one that came during an InterruptDeferral or an InterruptHold, or on
// Windows one whose cleanup the handler left to this thread. Writers call it
// at each flush, the placing of outputs before it starts.
void leaveIfInterrupted();

// Keeps interrupts waiting on this thread while other threads do the work
// (and take deferrals in turn), so that one is handled only where some
// thread calls leaveIfInterrupted.
class InterruptHold {
public:
    InterruptHold();
    ~InterruptHold();
    InterruptHold(const InterruptHold&) = delete;
    InterruptHold& operator=(const InterruptHold&) = delete;

private:
#ifndef _WIN32
    sigset_t previous_;
#endif
};

}  // namespace zelvane
