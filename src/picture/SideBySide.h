// Running the shares of a picture's work on threads side by side.
#pragma once

#include <functional>

namespace zelvane::picture {

// Runs work(0) to work(count - 1) at once: work(0) on the calling thread,
// each other on a thread of its own (or on the calling thread after the
// others when the system has no thread to give); returns when all are done.
// work must not throw.
void runSideBySide(unsigned count, const std::function<void(unsigned)>& work);

}  // namespace zelvane::picture
