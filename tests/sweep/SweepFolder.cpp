#include "SweepFolder.h"

#include <filesystem>
#include <sstream>

#include "OutputCheck.h"
#include "Zelvane.h"
#include "driver/Driver.h"

namespace zelvane::test {
namespace {

constexpr const char* kModel = "model.mag";
constexpr const char* kObj = "model.obj";
constexpr const char* kMtl = "model.mtl";
constexpr const char* kScene = "model.xml";
constexpr size_t kReportLineCount = 5;

// Outputs of an earlier run, which a failed run must leave as they are and
// a successful one replaces.
const std::map<std::string, std::string>& earlierOutputs() {
    static const std::map<std::string, std::string> outputs{
        {kObj, "earlier obj\n"}, {kMtl, "earlier mtl\n"}, {kScene, "earlier xml\n"}};
    return outputs;
}

std::vector<std::string> argumentsFor(const std::string& model, OutputKind kind) {
    return kind == OutputKind::scene ? std::vector<std::string>{model, "-quazo"} : std::vector<std::string>{model};
}

std::string unchangedProblem(const std::map<std::string, std::string>& files,
                             const std::map<std::string, std::string>& before, const std::string& name) {
    const auto found = files.find(name);
    return found != files.end() && found->second == before.at(name) ? "" : name + " was changed";
}

// The console of a successful run: banner, load report, and for OBJ output
// the face count, which must match the faces written.
std::string consoleProblem(const std::string& out, OutputKind kind, const std::string& obj) {
    const std::vector<std::string> lines = splitLines(out);
    const size_t expected = 1 + kReportLineCount + (kind == OutputKind::obj ? 1 : 0);
    if (lines.size() != expected || lines[0] + "\n" != kBanner) {
        return "unexpected console output:\n" + out;
    }
    if (kind == OutputKind::obj && lines.back() != "obj pcount: " + std::to_string(faceLineCount(obj))) {
        return "console says " + lines.back() + " but the OBJ file has " + std::to_string(faceLineCount(obj)) +
               " faces";
    }
    return {};
}

std::string firstProblem(std::initializer_list<std::string> problems) {
    for (const std::string& problem : problems) {
        if (!problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace

SweepFolder::SweepFolder() : folder_(memoryTemporaryFolder()) {
    restoreEarlierOutputs();
}

void SweepFolder::restoreEarlierOutputs() {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
        if (entry.path().filename() != kModel) {
            std::filesystem::remove(entry.path());
        }
    }
    for (const auto& [name, text] : earlierOutputs()) {
        writeFile(folder_.file(name), text);
        before_[name] = text;
    }
}

void SweepFolder::setModel(const std::vector<uint8_t>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    writeFile(folder_.file(kModel), text);
    before_[kModel] = std::move(text);
}

void SweepFolder::cutModel(size_t size) {
    std::filesystem::resize_file(folder_.file(kModel), size);
    before_[kModel].resize(size);
}

std::string SweepFolder::runInProcess(OutputKind kind) {
    const std::string model = folder_.file(kModel);
    std::ostringstream out;
    std::ostringstream err;
    outcome_.status = runZelvane(argumentsFor(model, kind), out, err);
    outcome_.out = out.str();
    outcome_.err = err.str();
    return check(model, kind);
}

std::string SweepFolder::runProgram(OutputKind kind) {
    const CommandResult result = runZelvaneIn(folder_, argumentsFor(kModel, kind));
    outcome_ = {result.status, result.out, result.err};
    return check(kModel, kind);
}

std::string SweepFolder::check(const std::string& modelArgument, OutputKind kind) {
    std::string problem;
    if (outcome_.status == kExitFailure) {
        problem = failureProblem(modelArgument);
    } else if (outcome_.status == kExitSuccess) {
        problem = successProblem(kind);
        restoreEarlierOutputs();
    } else {
        problem = "status " + std::to_string(outcome_.status) + ", error output: " + outcome_.err;
        restoreEarlierOutputs();
    }
    return problem;
}

std::string SweepFolder::failureProblem(const std::string& modelArgument) const {
    const std::string prefix = "zelvane: " + modelArgument + ": ";
    const std::string& err = outcome_.err;
    const bool oneLine = err.size() > prefix.size() + 1 && err.compare(0, prefix.size(), prefix) == 0 &&
                         err.find('\n') == err.size() - 1;
    if (!oneLine) {
        return "status 2 without one error line naming the model: " + err;
    }
    if (outcome_.out != kBanner) {
        return "status 2 after console output: " + outcome_.out;
    }
    return folderContents(folder_.path()) == before_ ? "" : "status 2, but the folder changed";
}

std::string SweepFolder::successProblem(OutputKind kind) const {
    if (!outcome_.err.empty()) {
        return "status 0 with error output: " + outcome_.err;
    }
    const auto files = folderContents(folder_.path());
    if (kind == OutputKind::scene) {
        return firstProblem({unchangedProblem(files, before_, kModel), unchangedProblem(files, before_, kObj),
                             unchangedProblem(files, before_, kMtl), sceneProblem(files, kScene),
                             consoleProblem(outcome_.out, kind, "")});
    }
    if (files.size() != 4 || files.count(kObj) == 0 || files.count(kMtl) == 0) {
        return "OBJ output left " + std::to_string(files.size()) + " files in the folder";
    }
    const std::string& obj = files.at(kObj);
    return firstProblem({unchangedProblem(files, before_, kModel), unchangedProblem(files, before_, kScene),
                         objFaceProblem(obj), materialProblem(obj, files.at(kMtl)),
                         consoleProblem(outcome_.out, kind, obj)});
}

}  // namespace zelvane::test
