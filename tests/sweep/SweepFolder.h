// A folder in which damaged models are converted one after another, each run
// checked against the promises for any input: status 0 with well-formed
// outputs, or status 2 with one error line naming the model and the folder
// exactly as it was.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace zelvane::test {

enum class OutputKind { obj, scene };

// What a run ended with.
struct RunOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

class SweepFolder {
public:
    SweepFolder();

    // Makes bytes the folder's model file.
    void setModel(const std::vector<uint8_t>& bytes);
    // Cuts the model file down to its first size bytes, so that a sweep over
    // prefixes from the longest down need not write the file again.
    void cutModel(size_t size);

    // Converts the model in this process or through the built zelvane;
    // returns what is wrong with the outcome, "" when nothing is. The folder
    // is ready for the next case afterwards, and the outcome is left in
    // lastOutcome().
    std::string runInProcess(OutputKind kind);
    std::string runProgram(OutputKind kind);

    const RunOutcome& lastOutcome() const { return outcome_; }

private:
    std::string check(const std::string& modelArgument, OutputKind kind);
    std::string failureProblem(const std::string& modelArgument) const;
    std::string successProblem(OutputKind kind) const;
    void restoreEarlierOutputs();

    TempFolder folder_;
    std::map<std::string, std::string> before_;
    RunOutcome outcome_;
};

}  // namespace zelvane::test
