#include "BenchProcess.h"

#include <fstream>

namespace zelvane::bench {
namespace {

[[noreturn]] void execHelper(const std::vector<std::string>& arguments, const std::string& cwd) {
    std::vector<char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    if (chdir(cwd.c_str()) != 0 || !std::freopen("/dev/null", "w", stdout) ||
        !std::freopen("/dev/null", "w", stderr)) {
        _exit(127);
    }
    execv(pointers[0], pointers.data());
    _exit(127);
}

Timed readReport(const std::string& reportPath, int status) {
    Timed timed;
    timed.status = status;
    std::ifstream report(reportPath);
    if (!(report >> timed.seconds >> timed.peakKb)) timed.status = 125;
    report.close();
    std::remove(reportPath.c_str());
    return timed;
}

}  // namespace

Timed runMeasured(const std::string& helperPath, const std::vector<std::string>& argv, const std::string& cwd) {
    const std::string reportPath = cwd + "/measure_run.report";
    std::vector<std::string> arguments{helperPath, reportPath};
    arguments.insert(arguments.end(), argv.begin(), argv.end());
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) execHelper(arguments, cwd);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return {0, 0, 125};
    return readReport(reportPath, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
}

}  // namespace zelvane::bench
