#include "InterruptHandler.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#else
#include <pthread.h>
#include <unistd.h>

#include <mutex>

#include "InterruptSignals.h"
#endif

namespace zelvane {

#ifdef _WIN32

// The console handler runs on a thread of its own while the main thread goes
// on. A lock, held by the main thread while the list changes and while
// outputs are placed (InterruptDeferral), keeps the handler from seeing
// either halfway. With nothing to take back the handler ends the
// process itself. Otherwise the main thread may be writing to the
// temporaries, which Windows does not remove while they are open, so the
// handler leaves the cleanup to it: it sets a flag that the main thread finds
// at its next flush or deferral, where it closes and undoes everything and
// ends the process. The handler then waits for that end.

namespace {

constexpr char kInterruptedLine[] = "zelvane: interrupted\r\n";

std::atomic<bool> cleanupLeftToMainThread{false};
InterruptCleanup interruptCleanup;

struct RegistryLock {
    RegistryLock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
};

CRITICAL_SECTION& registryLock() {
    static RegistryLock lock;
    return lock.section;
}

// Called with the lock held.
[[noreturn]] void leaveInterrupted() {
    interruptCleanup.closeFiles();
    interruptCleanup.takeBack();
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kInterruptedLine, sizeof kInterruptedLine - 1, &written, nullptr);
    // What the system's own handler ends a process with on Ctrl-C.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    for (;;) {
        Sleep(INFINITE);
    }
}

BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    EnterCriticalSection(&registryLock());
    if (!interruptCleanup.anythingToTakeBack()) {
        leaveInterrupted();
    }
    cleanupLeftToMainThread = true;
    LeaveCriticalSection(&registryLock());
    for (;;) {
        Sleep(INFINITE);
    }
}

}  // namespace

void handleInterrupts(const InterruptCleanup& cleanup) {
    interruptCleanup = cleanup;
    registryLock();  // made before any handler can ask for it
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

// The thread that takes the cleanup clears the flag first: closing the
// streams takes deferrals of its own, which must not start it again.
InterruptDeferral::InterruptDeferral() {
    EnterCriticalSection(&registryLock());
    if (cleanupLeftToMainThread.exchange(false)) {
        leaveInterrupted();
    }
}

InterruptDeferral::~InterruptDeferral() {
    LeaveCriticalSection(&registryLock());
}

void leaveIfInterrupted() {
    if (cleanupLeftToMainThread) {
        InterruptDeferral deferral;
    }
}

// The console handler runs on a thread of its own: nothing to hold.
InterruptHold::InterruptHold() = default;
InterruptHold::~InterruptHold() = default;

#else

// The signals are blocked while the list of replacements changes and while
// outputs are placed (InterruptDeferral), so the handler finds every
// replacement either waiting, placed or taken back, never between a rename
// and the record of it, and a file is on the list from the moment it is
// created. The handler then only renames and removes paths prepared
// beforehand, writes its line, and raises the signal again with its default
// action. A deferral also holds a lock, for runs that convert on several
// threads: those keep the signals blocked throughout (InterruptHold) and
// unblock a waiting one only while holding the lock, so that the handler
// runs while no other thread is changing the list.

namespace {

constexpr char kInterruptedLine[] = "zelvane: interrupted\n";

sigset_t handledSignals;  // the interrupt signals with our handler
InterruptCleanup interruptCleanup;

// Never freed: a thread may still take it while the process exits.
std::recursive_mutex& registryLock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

// Ends the process with the signal's default action; the signal stays
// blocked until the handler unblocks it.
void endBySignal(int signal) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
}

// Every interrupt signal is blocked while this runs: it runs once.
void onInterruptSignal(int signal) {
    interruptCleanup.takeBack();
    const ssize_t written = write(STDERR_FILENO, kInterruptedLine, sizeof kInterruptedLine - 1);
    static_cast<void>(written);
    endBySignal(signal);
}

}  // namespace

void handleInterrupts(const InterruptCleanup& cleanup) {
    interruptCleanup = cleanup;
    registryLock();  // made before any thread can ask for it
    sigemptyset(&handledSignals);
    struct sigaction action {};
    action.sa_handler = onInterruptSignal;
    action.sa_mask = interruptSignalSet();
    for (int signal : kInterruptSignals) {
        struct sigaction earlier {};
        if (sigaction(signal, nullptr, &earlier) == 0 && earlier.sa_handler != SIG_IGN &&
            sigaction(signal, &action, nullptr) == 0) {
            sigaddset(&handledSignals, signal);
        }
    }
}

InterruptDeferral::InterruptDeferral() {
    const sigset_t signals = interruptSignalSet();
    pthread_sigmask(SIG_BLOCK, &signals, &previous_);
    registryLock().lock();
}

InterruptDeferral::~InterruptDeferral() {
    registryLock().unlock();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

InterruptHold::InterruptHold() {
    const sigset_t signals = interruptSignalSet();
    pthread_sigmask(SIG_BLOCK, &signals, &previous_);
}

InterruptHold::~InterruptHold() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

// Unblocking a waiting signal, with the lock held, runs its handler, which
// ends the process.
void leaveIfInterrupted() {
    sigset_t pending;
    if (sigpending(&pending) != 0) {
        return;
    }
    for (int signal : kInterruptSignals) {
        if (sigismember(&pending, signal) == 1 && sigismember(&handledSignals, signal) == 1) {
            const InterruptDeferral deferral;
            sigset_t only;
            sigemptyset(&only);
            sigaddset(&only, signal);
            pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        }
    }
}

#endif

}  // namespace zelvane
