// Interrupts end a run leaving nothing behind: every temporary is removed,
// every earlier output that was replaced is put back, one line
// "zelvane: interrupted" goes to standard error, and the process ends the way
// the interrupt would have ended it. The interrupts are SIGINT, SIGTERM and
// SIGHUP, and on Windows Ctrl-C, Ctrl-Break and closing the console window.
//
// Threads follow one rule. Every thread besides the main one is started with
// startThread (os/Threads.h), with the interrupt signals blocked: the
// handler runs on the main thread only, at any moment outside an
// InterruptDeferral. A thread that changes the list of replacements or
// places outputs does so inside a deferral. While threads that do so run
// side by side, the main thread waits for them inside an InterruptHold, so
// that an interrupt is handled only where some thread calls
// leaveIfInterrupted, under the deferral's lock.
#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace zelvane {

class FileReplacement;

// Installs the handlers; a signal ignored when the program started stays
// ignored.
void installInterruptHandlers();

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

// The replacements an interrupt undoes, the latest first. Call both with
// interrupts deferred.
void watchReplacement(FileReplacement& replacement);
void forgetReplacement(FileReplacement& replacement);

}  // namespace zelvane
