// Running measured work in processes of its own.
#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace zelvane::bench {

// Runs work in a forked child, so that it starts with fresh memory and
// leaves none behind in the benchmark, and returns the plain struct the
// child sends back. The child's peak memory is not its own (see
// measure_run.cpp), so none is reported.
template <typename Result>
Result inChild(const std::function<Result()>& work) {
    static_assert(std::is_trivially_copyable_v<Result>);
    int channel[2];
    std::fflush(stdout);
    if (pipe(channel) != 0) std::exit(3);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const Result result = work();
        if (write(channel[1], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) _exit(3);
        _exit(0);
    }
    close(channel[1]);
    Result result{};
    if (read(channel[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) std::exit(3);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}

struct Timed {
    double seconds = 0;
    long peakKb = 0;
    int status = 0;
};

// Runs argv in the folder cwd, its output to /dev/null, through the small
// measure_run helper at helperPath, which reports the wall time and the
// program's own peak resident memory.
Timed runMeasured(const std::string& helperPath, const std::vector<std::string>& argv, const std::string& cwd);

}  // namespace zelvane::bench
