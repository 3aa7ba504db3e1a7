#include "Driver.h"

#include "CommandLine.h"
#include "OutputNames.h"
#include "export/Export.h"
#include "mag5/Mag5Loader.h"
#include "mesh/MeshStore.h"

namespace zelvane {
namespace {

constexpr const char* kBanner = "Zelvane - The Darvonelle Converter [R0.1.4]";
constexpr const char* kUsageLines[] = {
    "zelvane <MAG FILE> [-quazo]",
    "get the quazo renderer at:",
    "https://quazo.example.org/",
};

void writeLine(std::ostream& out, std::string_view line) {
    out << line << '\n' << std::flush;
}

void writeUsage(std::ostream& out) {
    for (const char* line : kUsageLines) {
        writeLine(out, line);
    }
}

void reportError(std::ostream& err, std::string_view path, std::string_view reason) {
    err << "zelvane: " << path << ": " << reason << '\n' << std::flush;
}

// Loads every model into the store, printing each one's report; stops at the
// first file that fails.
bool loadModels(const std::vector<std::string>& modelPaths, MeshStore& store, std::ostream& out,
                std::ostream& err) {
    for (const std::string& path : modelPaths) {
        const LoadResult result = loadMagFile(path, store);
        if (result.error) {
            reportError(err, path, result.error.words);
            return false;
        }
        out << formatLoadReport(result.report) << std::flush;
    }
    return true;
}

}  // namespace

int runZelvane(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    writeLine(out, kBanner);
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.request == Request::kVersion) {
        return kExitSuccess;
    }
    if (commandLine.request == Request::kHelp || commandLine.modelPaths.empty()) {
        writeUsage(out);
        return commandLine.request == Request::kHelp ? kExitSuccess : kExitUsage;
    }
    MeshStore store;
    if (!loadModels(commandLine.modelPaths, store, out, err)) {
        return kExitFailure;
    }
    store.mergeDuplicates();
    store.groupByMaterial();
    const OutputPaths paths = outputPathsFor(commandLine.modelPaths.back());
    const auto failure = commandLine.sceneMode ? exportScene(store, paths.xml)
                                               : exportObj(store, paths.obj, paths.mtl, out);
    if (failure) {
        reportError(err, failure->path, failure->reason);
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace zelvane
