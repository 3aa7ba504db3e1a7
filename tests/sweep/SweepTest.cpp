// Whole-file sweeps over the sample model: every prefix of it, and thousands
// of copies with one byte or one word overwritten. Most cases run in this
// process through the converter's entry function; a spread-out sample runs
// through the built program as well and must end the same way.
#include <gtest/gtest.h>

#include "Corruptions.h"
#include "SweepFolder.h"
#include "Zelvane.h"

namespace zelvane::test {
namespace {

constexpr size_t kByteCorruptionCount = 1500;
constexpr size_t kWordCorruptionCount = 1500;
constexpr size_t kPrefixShardCount = 4;  // so that the prefixes spread over cores
constexpr size_t kPrefixSampleStep = 300;
constexpr size_t kCorruptionSampleStep = 30;
constexpr size_t kMagicSize = 4;
constexpr int kReportedProblems = 10;

const std::vector<uint8_t>& sample() {
    static const std::vector<uint8_t> bytes = [] {
        const std::string text = readFile(ZELVANE_SAMPLE);
        return std::vector<uint8_t>(text.begin(), text.end());
    }();
    return bytes;
}

std::vector<uint8_t> prefix(size_t size) {
    return std::vector<uint8_t>(sample().begin(), sample().begin() + static_cast<std::ptrdiff_t>(size));
}

// Alternates the output kind so that both exporters see damaged models.
OutputKind kindFor(size_t caseNumber) {
    return caseNumber % 2 == 0 ? OutputKind::obj : OutputKind::scene;
}

// Collects the problems of many cases: the first few in full, then a count.
class Problems {
public:
    void note(const std::string& what, const std::string& problem) {
        if (problem.empty()) {
            return;
        }
        if (++count_ <= kReportedProblems) {
            ADD_FAILURE() << what << ": " << problem;
        }
    }
    ~Problems() { EXPECT_EQ(count_, 0) << "cases with a problem in all"; }

private:
    int count_ = 0;
};

// The reason of a one-line error, without "zelvane: <model>: ".
std::string reasonOf(const RunOutcome& outcome) {
    const size_t start = outcome.err.find(": ", 9);
    return start == std::string::npos ? outcome.err : outcome.err.substr(start + 2);
}

std::string prefixProblem(const RunOutcome& outcome, size_t size) {
    if (outcome.status != 2) {
        return "a cut-off file converted";
    }
    const std::string reason = reasonOf(outcome);
    const bool expected = size < kMagicSize ? reason == "not a MAG5 file\n"
                                            : reason.rfind("file ends early (inside ", 0) == 0;
    return expected ? "" : "unexpected reason " + reason;
}

// Shard k takes the prefixes whose size leaves k over when divided by the
// shard count, longest first, cutting one model file down step by step.
class EveryPrefix : public ::testing::TestWithParam<size_t> {};

TEST_P(EveryPrefix, IsReportedAsCutShort) {
    SweepFolder folder;
    Problems problems;
    folder.setModel(sample());
    for (size_t size = sample().size() - 1 - GetParam();; size -= kPrefixShardCount) {
        folder.cutModel(size);
        const std::string what = "prefix of " + std::to_string(size) + " bytes";
        problems.note(what, folder.runInProcess(kindFor(size / kPrefixShardCount)));
        problems.note(what, prefixProblem(folder.lastOutcome(), size));
        if (size < kPrefixShardCount) {
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sweep, EveryPrefix, ::testing::Range(size_t{0}, kPrefixShardCount));

TEST(Sweep, WholeFileConvertsBothWays) {
    SweepFolder folder;
    Problems problems;
    folder.setModel(sample());
    for (OutputKind kind : {OutputKind::obj, OutputKind::scene}) {
        problems.note("whole file", folder.runInProcess(kind));
        EXPECT_EQ(folder.lastOutcome().status, 0);
    }
}

// Runs every corruption in this process and counts how the runs ended.
void sweepCorruptions(const std::vector<Corruption>& corruptions) {
    SweepFolder folder;
    Problems problems;
    size_t converted = 0;
    for (size_t index = 0; index < corruptions.size(); ++index) {
        const Corruption& corruption = corruptions[index];
        folder.setModel(corruption.appliedTo(sample()));
        problems.note(corruption.describe(), folder.runInProcess(kindFor(index)));
        converted += folder.lastOutcome().status == 0;
    }
    // Both ways of ending must have been taken for the sweep to mean much.
    EXPECT_GT(converted, 0u);
    EXPECT_LT(converted, corruptions.size());
}

TEST(Sweep, OverwrittenBytes) {
    sweepCorruptions(byteCorruptions(sample(), kByteCorruptionCount));
}

TEST(Sweep, OverwrittenWords) {
    sweepCorruptions(wordCorruptions(sample(), kWordCorruptionCount));
}

TEST(Sweep, OverwrittenCounts) {
    sweepCorruptions(countCorruptions(sample()));
}

// One case both ways: each run must keep the promises, and both must end
// with the same status and reason.
void expectSameInProgram(SweepFolder& folder, Problems& problems, const std::string& what,
                         const std::vector<uint8_t>& bytes, OutputKind kind) {
    folder.setModel(bytes);
    problems.note(what + " (in process)", folder.runInProcess(kind));
    const RunOutcome inProcess = folder.lastOutcome();
    problems.note(what + " (program)", folder.runProgram(kind));
    const RunOutcome& program = folder.lastOutcome();
    if (program.status != inProcess.status || reasonOf(program) != reasonOf(inProcess)) {
        problems.note(what, "the program ended with " + std::to_string(program.status) + " " + program.err +
                                " but the run in process with " + std::to_string(inProcess.status) + " " +
                                inProcess.err);
    }
}

TEST(Sweep, SampleThroughTheBuiltProgram) {
    if (underRunner()) {
        GTEST_SKIP() << "the in-process runs check the converter built here";
    }
    SweepFolder folder;
    Problems problems;
    for (size_t size = 0; size <= sample().size(); size += kPrefixSampleStep) {
        expectSameInProgram(folder, problems, "prefix of " + std::to_string(size) + " bytes", prefix(size),
                            kindFor(size / kPrefixSampleStep));
    }
    expectSameInProgram(folder, problems, "whole file", sample(), OutputKind::scene);
    const std::vector<Corruption> bytes = byteCorruptions(sample(), kByteCorruptionCount);
    const std::vector<Corruption> words = wordCorruptions(sample(), kWordCorruptionCount);
    for (const std::vector<Corruption>* corruptions : {&bytes, &words}) {
        for (size_t index = 0; index < corruptions->size(); index += kCorruptionSampleStep) {
            const Corruption& corruption = (*corruptions)[index];
            expectSameInProgram(folder, problems, corruption.describe(), corruption.appliedTo(sample()),
                                kindFor(index / kCorruptionSampleStep));
        }
    }
}

}  // namespace
}  // namespace zelvane::test
