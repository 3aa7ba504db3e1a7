// Interrupts end a run leaving nothing behind: every temporary is removed,
// and every earlier output that was replaced is put back, before the
// interrupt ends the process (os/InterruptHandler.h says how).
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

#include "os/InterruptHandler.h"

namespace zelvane {

class FileReplacement;

// Installs the handlers, which undo the replacements below; a signal
// ignored when the program started stays ignored.
void installInterruptHandlers();

// The replacements an interrupt undoes, the latest first. Call both with
// interrupts deferred.
void watchReplacement(FileReplacement& replacement);
void forgetReplacement(FileReplacement& replacement);

}  // namespace zelvane
