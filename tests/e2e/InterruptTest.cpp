// Conversions of a large model interrupted at moments spread over the run,
// in both modes, with and without earlier outputs: each must leave every
// output as it was or complete, and nothing else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>
#include <utility>

#include "Zelvane.h"

namespace zelvane::test {
namespace {

using Clock = std::chrono::steady_clock;

// A run takes a couple of hundred milliseconds; the sanitizer build is slower
// and converts a smaller model.
#ifdef ZELVANE_SLOW_BUILD
constexpr uint32_t kGridSide = 150;
#else
constexpr uint32_t kGridSide = 330;
#endif

// A wavy grid of quads in four textured quarters: four mesh files in a scene.
Mag5ModelSpec gridModel(uint32_t side) {
    Mag5ModelSpec model;
    model.textures = {"a.pcx", "b.pcx", "c.pcx", "d.pcx"};
    for (uint32_t y = 0; y <= side; ++y) {
        for (uint32_t x = 0; x <= side; ++x) {
            const float height = static_cast<float>(std::sin(x * 0.1) * std::cos(y * 0.13));
            model.vertices.push_back(vertexAt(static_cast<float>(x), static_cast<float>(y), height, 0, height, 1));
        }
    }
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const uint32_t corner = y * (side + 1) + x;
            const auto quarter = static_cast<int32_t>(2 * (2 * y / side) + 2 * x / side);
            model.polygons.push_back(polygonOver({corner, corner + 1, corner + side + 2, corner + side + 1}, quarter));
        }
    }
    return model;
}

// The converter started in a folder. Standard output comes through a pipe,
// so that moments can be counted from the banner, which it writes once its
// handlers are in place.
class StartedConverter {
public:
    StartedConverter(const TempFolder& folder, const std::vector<std::string>& arguments) {
        std::vector<std::string> command{environmentOr("ZELVANE_BIN", ZELVANE_BIN)};
        command.insert(command.end(), arguments.begin(), arguments.end());
        if (underRunner()) command.insert(command.begin(), environmentOr("ZELVANE_RUNNER", ""));
        char errName[] = "/tmp/zelvane-err-XXXXXX";
        int out[2];
        if ((errFd_ = mkstemp(errName)) < 0 || unlink(errName) != 0 || pipe(out) != 0) {
            throw std::runtime_error("cannot make the converter's output files");
        }
        if ((pid_ = fork()) == 0) {
            std::vector<char*> argv;
            for (std::string& word : command) argv.push_back(word.data());
            argv.push_back(nullptr);
            // SIGINT as a terminal would deliver it, however the tests were
            // started (a background job ignores it).
            signal(SIGINT, SIG_DFL);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            if (chdir(folder.path().c_str()) == 0 && dup2(out[1], 1) >= 0 && dup2(errFd_, 2) >= 0) {
                execv(argv[0], argv.data());
            }
            _exit(127);
        }
        close(out[1]);
        outFd_ = out[0];
    }
    ~StartedConverter() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);  // a test that stopped early
        close(outFd_);
        close(errFd_);
    }
    StartedConverter(const StartedConverter&) = delete;
    StartedConverter& operator=(const StartedConverter&) = delete;

    // Waits for the first line on standard output; false after ten seconds.
    bool waitForBanner() {
        for (char c = 0; c != '\n';) {
            pollfd ready{outFd_, POLLIN, 0};
            if (poll(&ready, 1, 10000) != 1 || read(outFd_, &c, 1) != 1) return false;
        }
        return true;
    }

    // A run that has ended already stays unreaped until finish: the signal
    // then reaches nothing.
    void interrupt() { kill(pid_, SIGINT); }

    // Waits for the end: the status as a shell reports it, standard error.
    CommandResult finish() {
        int status = 0;
        waitpid(std::exchange(pid_, -1), &status, 0);
        CommandResult result;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        char chunk[4096];
        lseek(errFd_, 0, SEEK_SET);
        for (ssize_t got; (got = read(errFd_, chunk, sizeof chunk)) > 0;) result.err.append(chunk, size_t(got));
        return result;
    }

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
};

// The status of an interrupted run: 130 for SIGINT; a Windows build ends
// with STATUS_CONTROL_C_EXIT, of which wine passes on the low byte.
int interruptedStatus() {
    return underRunner() ? 0xC000013A & 0xFF : 128 + SIGINT;
}

// A folder's files without the model, which no run changes.
std::map<std::string, std::string> outputsIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "m.mag") files[name] = entry.is_regular_file() ? readFile(entry.path().string()) : "(not a file)";
    }
    return files;
}

// The files a run wrote, among a folder's: the OBJ and MTL files, or the
// scene document and the mesh files it names.
std::vector<std::string> namesWritten(const std::map<std::string, std::string>& files, bool scene) {
    if (!scene) return {"m.obj", "m.mtl"};
    std::vector<std::string> names{"m.xml"};
    GroupIdNames ids;
    ids.replaceIn(files.count("m.xml") != 0 ? files.at("m.xml") : "");
    for (const auto& [name, text] : files) {
        if (name.ends_with(".obj") && !ids.nameOf(name.substr(0, name.size() - 4)).empty()) names.push_back(name);
    }
    return names;
}

// Those files as one text, group identifiers named by structure: in the
// order the OBJ file or the scene document first uses them.
std::string writtenText(const std::map<std::string, std::string>& files, bool scene) {
    const auto text = [&](const std::string& name) {
        return files.count(name) != 0 ? files.at(name) : std::string("(absent)");
    };
    GroupIdNames ids;
    if (!scene) return "== m.obj\n" + ids.replaceIn(text("m.obj")) + "== m.mtl\n" + ids.replaceIn(text("m.mtl"));
    std::string all = "== m.xml\n" + ids.replaceIn(text("m.xml"));
    std::map<std::string, std::string> meshes;
    for (const std::string& name : namesWritten(files, true)) {
        if (name != "m.xml") meshes[ids.replaceIn(name)] = ids.replaceIn(text(name));
    }
    for (const auto& [name, mesh] : meshes) all += "== " + name + "\n" + mesh;
    return all;
}

// As before the run, or the earlier files beside the complete new outputs.
void expectKeptOrComplete(const std::map<std::string, std::string>& before,
                          const std::map<std::string, std::string>& after, const std::string& complete, bool scene) {
    if (after == before) return;
    EXPECT_EQ(writtenText(after, scene), complete);
    std::map<std::string, std::string> others = after;
    for (const std::string& name : namesWritten(after, scene)) others.erase(name);
    for (const auto& [name, text] : others) {
        EXPECT_TRUE(before.count(name) != 0 && before.at(name) == text) << name << " is neither earlier nor new";
    }
    for (const auto& [name, text] : before) {
        EXPECT_EQ(after.count(name), 1u) << name << " is gone";
    }
}

struct Case {
    bool scene;
    bool earlier;
};

TEST(Interrupt, LeavesEveryOutputAsItWasOrComplete) {
    const TempFolder modelFolder(memoryTemporaryFolder());
    saveModel(gridModel(kGridSide), modelFolder.file("m.mag"));
    const auto arguments = [](const Case& c) {
        return c.scene ? std::vector<std::string>{"m.mag", "-quazo"} : std::vector<std::string>{"m.mag"};
    };
    // The outputs of an earlier run of a small model, in both modes.
    std::map<std::string, std::string> earlierOutputs[2];
    for (bool scene : {false, true}) {
        const TempFolder folder(memoryTemporaryFolder());
        saveModel(smallModel(), folder.file("m.mag"));
        ASSERT_EQ(runZelvaneIn(folder, arguments({scene, true})).status, 0);
        earlierOutputs[scene] = outputsIn(folder.path());
    }
    // Each run in a fresh folder, holding the model as a second name and,
    // in half the runs, those outputs.
    const auto prepare = [&](const TempFolder& folder, const Case& c) {
        for (const auto& [name, text] : earlierOutputs[c.scene]) {
            if (c.earlier) writeFile(folder.file(name), text);
        }
        EXPECT_EQ(link(modelFolder.file("m.mag").c_str(), folder.file("m.mag").c_str()), 0);
    };

    // Uninterrupted runs give the complete outputs and the time from the
    // banner to the end, the shorter of two.
    std::string complete[2];
    Clock::duration runTime[2] = {Clock::duration::max(), Clock::duration::max()};
    for (int run = 0; run < 4; ++run) {
        const bool scene = run % 2 == 1;
        const TempFolder folder(memoryTemporaryFolder());
        prepare(folder, {scene, false});
        StartedConverter converter(folder, arguments({scene, false}));
        ASSERT_TRUE(converter.waitForBanner());
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(converter.finish().status, 0);
        runTime[scene] = std::min(runTime[scene], Clock::now() - start);
        if (run >= 2) complete[scene] = writtenText(outputsIn(folder.path()), scene);
    }

    constexpr int kMomentsPerCase = 8;
    const Case cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    int interrupted[2] = {0, 0};
    for (int moment = 0; moment < kMomentsPerCase; ++moment) {
        for (int index = 0; index < 4; ++index) {
            const Case& c = cases[index];
            const double fraction = (moment + (index + 0.5) / 4) / kMomentsPerCase;
            SCOPED_TRACE(std::string(c.scene ? "scene" : "OBJ") + (c.earlier ? ", earlier outputs" : "") +
                         ", interrupted at " + std::to_string(fraction) + " of the run");
            // A run that ended before the signal came (on a machine busy with
            // other work runs vary) is tried again a little earlier.
            for (double delay = fraction; delay > fraction / 8; delay /= 2) {
                const TempFolder folder(memoryTemporaryFolder());
                prepare(folder, c);
                const auto before = outputsIn(folder.path());
                StartedConverter converter(folder, arguments(c));
                ASSERT_TRUE(converter.waitForBanner());
                std::this_thread::sleep_for(runTime[c.scene] * delay);
                converter.interrupt();
                const CommandResult result = converter.finish();
                expectKeptOrComplete(before, outputsIn(folder.path()), complete[c.scene], c.scene);
                if (result.status != 0 || !result.err.empty()) {
                    ++interrupted[c.scene];
                    EXPECT_EQ(result.status, interruptedStatus());
                    EXPECT_EQ(result.err, outputText("zelvane: interrupted\n"));
                    break;
                }
            }
        }
    }
    // At least half of each mode's runs must have been cut short. Under wine
    // the time to the end includes wine's own exit, which varies widely, so
    // there it is enough that some were.
    const int required = underRunner() ? 1 : kMomentsPerCase;
    EXPECT_GE(interrupted[false], required);
    EXPECT_GE(interrupted[true], required);
}

// Models converted side by side: an interrupt stops every worker, leaves no
// temporary, and each model has its complete outputs or none.
TEST(Interrupt, StopsEveryModelOfARunWithEach) {
    const TempFolder modelFolder(memoryTemporaryFolder());
    saveModel(gridModel(kGridSide), modelFolder.file("m.mag"));
    constexpr int kModels = 4;
    const auto prepare = [&](const TempFolder& folder) {
        for (int model = 0; model < kModels; ++model) {
            const std::string sub = folder.file("game/" + std::to_string(model));
            std::filesystem::create_directories(sub);
            EXPECT_EQ(link(modelFolder.file("m.mag").c_str(), (sub + "/m.mag").c_str()), 0);
        }
    };
    // The shorter of two whole runs: a run slowed by other work on the
    // machine would put the interrupts after the end.
    std::string complete;
    Clock::duration runTime = Clock::duration::max();
    for (int run = 0; run < 2; ++run) {
        const TempFolder folder(memoryTemporaryFolder());
        prepare(folder);
        StartedConverter converter(folder, {"--each", "game"});
        ASSERT_TRUE(converter.waitForBanner());
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(converter.finish().status, 0);
        runTime = std::min(runTime, Clock::now() - start);
        complete = writtenText(outputsIn(folder.file("game/0")), false);
    }
    int interrupted = 0;
    for (const double fraction : {0.15, 0.35, 0.55, 0.75}) {
        SCOPED_TRACE("interrupted at " + std::to_string(fraction) + " of the run");
        const TempFolder folder(memoryTemporaryFolder());
        prepare(folder);
        StartedConverter converter(folder, {"--each", "game"});
        ASSERT_TRUE(converter.waitForBanner());
        std::this_thread::sleep_for(runTime * fraction);
        converter.interrupt();
        const CommandResult result = converter.finish();
        int completeModels = 0;
        for (int model = 0; model < kModels; ++model) {
            const auto files = outputsIn(folder.file("game/" + std::to_string(model)));
            if (!files.empty()) {
                EXPECT_EQ(files.size(), 2u) << "model " << model << ": nothing but its OBJ and MTL files";
                EXPECT_EQ(writtenText(files, false), complete) << "model " << model;
                ++completeModels;
            }
        }
        if (result.status != 0) {
            ++interrupted;
            EXPECT_EQ(result.status, interruptedStatus());
            // An interrupt just as the summary was written comes after it.
            const std::string summary = completeModels == kModels ? "converted 4 of 4 models\n" : "";
            if (result.err != outputText(summary + "zelvane: interrupted\n")) {
                EXPECT_EQ(result.err, outputText("zelvane: interrupted\n"));
            }
        }
    }
    EXPECT_GE(interrupted, underRunner() ? 1 : 2);
}

}  // namespace
}  // namespace zelvane::test
