#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "OutputError.h"
#include "OutputFile.h"
#include "os/Platform.h"

namespace zelvane {


// The output files of one run. Each is written under a temporary name beside
// the file it replaces; commit puts them all in place once every one is
// complete, and if any of them cannot be placed, puts everything back.
// Whatever is not committed is removed, so a failed or interrupted run leaves
// existing files as they were and no partial file behind.
class OutputSet {
public:
    // Through the system's calls, or those given.
    explicit OutputSet(const FileCalls& calls = systemFileCalls()) : calls_(calls) {}
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // Files the run reads: an output whose path leads to one of them is
    // refused when it is created, before anything is written.
    void protect(std::vector<FileIdentity> inputs) { inputs_ = std::move(inputs); }

    // Starts the file that is to appear at path, a text file unless asked
    // otherwise; nullptr on failure (see error).
    OutputFile* create(const std::string& path, FileMode mode = FileMode::kText);
    // Finishes one file early; false on failure (see error).
    bool close(OutputFile& file);
    // Closes every file and renames them all into place; false on failure.
    bool commit();

    // Records a failure that is not the file system's, such as an output too
    // large for its format; returns false.
    bool refuse(const std::string& path, std::string reason);

    // The paths of the files, in the order they were created.
    std::vector<std::string> paths() const;

    // The first failure, naming the output path it concerns.
    const std::optional<OutputError>& error() const { return error_; }

private:
    bool fail(const OutputFile& file, std::string reason);
    bool placeFiles();
    void finishFiles();

    const FileCalls& calls_;
    std::vector<FileIdentity> inputs_;
    std::vector<std::unique_ptr<OutputFile>> files_;
    std::optional<OutputError> error_;
};

}  // namespace zelvane
