// Every thread the converter starts besides the main one comes from here.
#pragma once

#include <functional>
#include <thread>

namespace zelvane {

// Starts work on a thread of its own with the interrupt signals (SIGINT,
// SIGTERM, SIGHUP) blocked in it, so that an interrupt's handler never runs
// on it: an interrupt is handled on the main thread, or, while threads that
// place outputs run side by side, by whichever of them asks for it (see
// output/Interrupts.h). Windows delivers interrupts on a thread of the
// system's: there it only starts the thread. Throws std::system_error when
// no thread can be started.
std::thread startThread(std::function<void()> work);

}  // namespace zelvane
