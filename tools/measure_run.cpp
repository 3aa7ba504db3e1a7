// measure_run REPORT PROGRAM [ARGUMENT...]
//
// Runs the program (looked up on PATH like a shell does) and writes to the
// file REPORT its wall time in seconds and its peak resident memory in
// kilobytes, "0.123456 45678"; exits with the program's status (128 + signal
// when it was killed). The program inherits the working folder, the
// standard streams and the limits.
//
// A forked child starts with the resident memory of its parent, and the
// kernel carries that peak across exec, so a large benchmark or test process
// that measured its own children would see at least its own size. This
// small program stands between them: the peak it reports is the program's
// own, and the time leaves out its own start.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: measure_run REPORT PROGRAM [ARGUMENT...]\n");
        return 125;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return 125;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    FILE* report = std::fopen(argv[1], "w");
    if (report == nullptr || std::fprintf(report, "%.6f %ld\n", seconds, usage.ru_maxrss) < 0 ||
        std::fclose(report) != 0) {
        return 125;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
