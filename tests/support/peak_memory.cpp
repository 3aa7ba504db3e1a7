// peak_memory REPORT PROGRAM [ARGUMENT...]
//
// Runs the program and writes its peak resident memory in kilobytes to the
// file REPORT; exits with the program's status (128 + signal when it was
// killed). The program inherits the working folder, the standard streams and
// the limits.
//
// A forked child starts with the resident memory of its parent, and the
// kernel carries that peak across exec. A test process that measured its own
// child would therefore see at least its own size; this small program stands
// between them so that the peak is the measured program's own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: peak_memory REPORT PROGRAM [ARGUMENT...]\n");
        return 125;
    }
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return 125;
    }
    FILE* report = std::fopen(argv[1], "w");
    if (report == nullptr || std::fprintf(report, "%ld\n", usage.ru_maxrss) < 0 || std::fclose(report) != 0) {
        return 125;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
