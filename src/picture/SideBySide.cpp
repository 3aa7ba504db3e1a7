#include "SideBySide.h"

#include <system_error>
#include <thread>
#include <vector>

#include "os/Threads.h"

namespace zelvane::picture {

void runSideBySide(unsigned count, const std::function<void(unsigned)>& work) {
    std::vector<std::thread> threads;
    unsigned started = 1;
    try {
        for (; started < count; ++started) {
            threads.push_back(startThread([&work, started] { work(started); }));
        }
    } catch (const std::system_error&) {
        // Too many threads already: the calling thread does the rest.
    }
    work(0);
    for (unsigned index = started; index < count; ++index) {
        work(index);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace zelvane::picture
