// Output sets of two and three files, one of them a link, written through a
// table of system calls that fails its n-th call, for every n: whichever
// call fails, at whatever stage, every earlier file is as it was (or, once
// every file is in place, all are new), no temporary is left, and the error
// names the output concerned. Where the file system cannot swap two names,
// and where it has no second names for a file either, the fallbacks go
// through the same. Then the same runs with an interrupt instead of the
// failure, in a child process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "output/Interrupts.h"
#include "output/OutputSet.h"

namespace zelvane {
namespace {

using namespace test;

// How the file system behaves, and what happens at the n-th call.
enum class Placing { kExchange, kLinkAside, kMoveAside };
enum class Trouble { kFailure, kInterrupt };

struct CallScript {
    Placing placing = Placing::kExchange;
    Trouble trouble = Trouble::kFailure;
    int troubleAt = 0;  // 1 for the first call; 0 for none
    int calls = 0;
    std::string troubledCall;
};
CallScript script;

// True when this call is the one to fail: errno is then set.
bool troubleNow(const char* call) {
    if (++script.calls != script.troubleAt) {
        return false;
    }
    script.troubledCall = call;
    if (script.trouble == Trouble::kInterrupt) {
        raise(SIGINT);
        return false;
    }
    errno = EIO;
    return true;
}

const FileCalls& system = systemFileCalls();

const FileCalls kScriptedCalls{
    [](const std::string& path, FileMode mode) { return troubleNow("create") ? nullptr : system.create(path, mode); },
    [](const std::string& replaced, std::FILE* file) {
        return !troubleNow("keepPermissions") && system.keepPermissions(replaced, file);
    },
    [](std::FILE* file, const char* bytes, size_t size) {
        return troubleNow("write") ? size / 2 : system.write(file, bytes, size);
    },
    [](std::FILE* file) {
        if (troubleNow("close")) {
            std::fclose(file);
            errno = EIO;
            return false;
        }
        return system.close(file);
    },
    [](const std::string& first, const std::string& second) {
        if (script.placing != Placing::kExchange) {
            errno = EINVAL;  // a file system that cannot swap names
            return false;
        }
        return !troubleNow("exchange") && system.exchange(first, second);
    },
    [](const std::string& existing, const std::string& newName) {
        if (script.placing == Placing::kMoveAside) {
            errno = EPERM;  // a file system without second names
            return false;
        }
        return !troubleNow("link") && system.link(existing, newName);
    },
    [](const std::string& from, const std::string& to) { return !troubleNow("rename") && system.rename(from, to); },
    [](const std::string& path) { return !troubleNow("remove") && system.remove(path); },
};

// What a folder holds, files and links, by name: a link as "-> target".
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        if (entry.is_symlink()) {
            entries[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            entries[name] = readFile(entry.path().string());
        }
    }
    return entries;
}

// The outputs: an earlier file, a link to an earlier file in a folder
// below, and a file not there yet. A run writes the first count of them.
const std::vector<std::string> kOutputs = {"model.obj", "image.png", "model.mtl"};

void prepare(const TempFolder& folder) {
    writeFile(folder.file("model.obj"), std::string("earlier obj"));
    std::filesystem::create_directory(folder.file("real"));
    writeFile(folder.file("real/image.png"), std::string("earlier image"));
    std::filesystem::create_symlink("real/image.png", folder.file("image.png"));
}

std::string newText(const std::string& name) {
    return "new " + name + std::string(OutputFile::kFlushSize, '.');  // more than one write
}

bool writeOutputs(const TempFolder& folder, size_t count, std::optional<OutputError>& error) {
    OutputSet outputs(kScriptedCalls);
    for (size_t k = 0; k < count; ++k) {
        OutputFile* file = outputs.create(folder.file(kOutputs[k]));
        if (file == nullptr) {
            error = outputs.error();
            return false;
        }
        file->write(newText(kOutputs[k]));
    }
    const bool committed = outputs.commit();
    error = outputs.error();
    return committed;
}

// The folder once the first count outputs are new: the image through its link.
std::map<std::string, std::string> allNewOf(std::map<std::string, std::string> before, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        before[kOutputs[k] == "image.png" ? "real/image.png" : kOutputs[k]] = newText(kOutputs[k]);
    }
    return before;
}

// Every output as it was, or every one new, and nothing else.
void expectAsBeforeOrAllNew(const TempFolder& folder, size_t count, const std::map<std::string, std::string>& before) {
    const auto now = snapshot(folder.path());
    EXPECT_TRUE(now == before || now == allNewOf(before, count))
        << "files: " << now.size() << " (" << before.size() << " before)";
}

// Every output new, and one file more, named like a temporary, holding an
// earlier output.
void expectNewWithEarlierCopy(const TempFolder& folder, size_t count, const std::map<std::string, std::string>& before) {
    std::map<std::string, std::string> now = snapshot(folder.path());
    const auto allNew = allNewOf(before, count);
    size_t copies = 0;
    for (auto entry = now.begin(); entry != now.end();) {
        const bool copy = !allNew.contains(entry->first) && entry->first.find(".tmp") != std::string::npos &&
                          (entry->second == before.at("model.obj") || entry->second == before.at("real/image.png"));
        copies += copy ? 1 : 0;
        entry = copy ? now.erase(entry) : std::next(entry);
    }
    EXPECT_EQ(copies, 1u);
    EXPECT_TRUE(now == allNew);
}

void expectEveryFailureLeavesAllAsItWas(Placing placing, size_t count) {
    std::set<std::string> failedCalls;
    for (int troubleAt = 1;; ++troubleAt) {
        const TempFolder folder(memoryTemporaryFolder());
        prepare(folder);
        const auto before = snapshot(folder.path());
        script = {placing, Trouble::kFailure, troubleAt, 0, ""};
        std::optional<OutputError> error;
        const bool committed = writeOutputs(folder, count, error);
        SCOPED_TRACE("call " + std::to_string(troubleAt) + " (" + script.troubledCall + ") failed");
        if (script.troubledCall.empty()) {
            EXPECT_TRUE(committed);
            EXPECT_TRUE(snapshot(folder.path()) == allNewOf(before, count));
            break;
        }
        failedCalls.insert(script.troubledCall);
        if (committed) {
            // A failure the placing can go round (a second name refused:
            // the earlier file is moved aside instead) leaves every file
            // new. Once every file is in place, only the removal of an
            // earlier copy can fail: that copy stays, under a temporary's
            // name.
            if (!(snapshot(folder.path()) == allNewOf(before, count))) {
                EXPECT_EQ(script.troubledCall, "remove");
                expectNewWithEarlierCopy(folder, count, before);
            }
            continue;
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(snapshot(folder.path()) == before);
        const std::set<std::string> outputs{folder.file(kOutputs[0]), folder.file(kOutputs[1]),
                                            folder.file(kOutputs[2])};
        EXPECT_TRUE(outputs.contains(error->path)) << error->path;
        EXPECT_EQ(error->reason, std::strerror(EIO));
    }
    const std::set<std::string> placingCalls =
        placing == Placing::kExchange ? std::set<std::string>{"exchange"} : std::set<std::string>{"rename"};
    for (const std::string& call : placingCalls) {
        EXPECT_TRUE(failedCalls.contains(call)) << call << " never failed";
    }
    EXPECT_TRUE(failedCalls.contains("create") && failedCalls.contains("write") && failedCalls.contains("close"));
}

TEST(ReplacementCalls, EachFailingCallLeavesEveryFileAsItWas) {
    for (const size_t count : {2u, 3u}) {
        SCOPED_TRACE(std::to_string(count) + " files");
        expectEveryFailureLeavesAllAsItWas(Placing::kExchange, count);
    }
}

TEST(ReplacementCalls, WithoutExchangeEachFailingCallLeavesEveryFileAsItWas) {
    for (const size_t count : {2u, 3u}) {
        SCOPED_TRACE(std::to_string(count) + " files");
        expectEveryFailureLeavesAllAsItWas(Placing::kLinkAside, count);
    }
}

TEST(ReplacementCalls, WithoutLinksEachFailingCallLeavesEveryFileAsItWas) {
    for (const size_t count : {2u, 3u}) {
        SCOPED_TRACE(std::to_string(count) + " files");
        expectEveryFailureLeavesAllAsItWas(Placing::kMoveAside, count);
    }
}

// Runs the three outputs in a child with the interrupt handlers in place
// and SIGINT raised at call troubleAt; its exit status. Its standard error
// goes to errorFile.
int interruptedRun(const TempFolder& folder, Placing placing, int troubleAt, const std::string& errorFile) {
    const pid_t child = fork();
    if (child == 0) {
        std::freopen(errorFile.c_str(), "w", stderr);
        signal(SIGINT, SIG_DFL);
        installInterruptHandlers();
        script = {placing, Trouble::kInterrupt, troubleAt, 0, ""};
        std::optional<OutputError> error;
        _exit(writeOutputs(folder, kOutputs.size(), error) ? 0 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// An interrupt at any call, however the files are placed: no temporary is
// left, and the outputs are as they were, or all new when it came as the
// last were placed. It ends the run by the signal.
TEST(ReplacementCalls, AnInterruptAtAnyCallLeavesEveryFileAsItWasOrAllNew) {
    for (const Placing placing : {Placing::kExchange, Placing::kLinkAside, Placing::kMoveAside}) {
        int calls = 0;
        {
            const TempFolder folder(memoryTemporaryFolder());
            prepare(folder);
            script = {placing, Trouble::kFailure, 0, 0, ""};
            std::optional<OutputError> error;
            ASSERT_TRUE(writeOutputs(folder, kOutputs.size(), error));
            calls = script.calls;
        }
        int interrupted = 0;
        for (int troubleAt = 1; troubleAt <= calls + 1; ++troubleAt) {
            SCOPED_TRACE("placing " + std::to_string(static_cast<int>(placing)) + ", interrupt at call " +
                         std::to_string(troubleAt));
            const TempFolder folder(memoryTemporaryFolder());
            prepare(folder);
            const auto before = snapshot(folder.path());
            const TempFolder errors;
            const int status = interruptedRun(folder, placing, troubleAt, errors.file("err"));
            expectAsBeforeOrAllNew(folder, kOutputs.size(), before);
            if (WIFSIGNALED(status)) {
                EXPECT_EQ(WTERMSIG(status), SIGINT);
                EXPECT_EQ(readFile(errors.file("err")), "zelvane: interrupted\n");
                ++interrupted;
            } else {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            }
        }
        EXPECT_GE(interrupted, 10);
    }
}

}  // namespace
}  // namespace zelvane
