#include "BatchRun.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "Conversion.h"
#include "Driver.h"
#include "ErrorLines.h"
#include "GalleryOutput.h"
#include "ModelList.h"
#include "OutputNames.h"
#include "Progress.h"
#include "os/Folders.h"
#include "os/HeapReuse.h"
#include "os/Threads.h"
#include "output/Interrupts.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

struct BatchJob {
    BatchModel model;
    std::string outputBase;
    std::optional<OutputError> refusal;  // a reason not to convert it at all
    // Filled in by the worker that converts it:
    std::string out;
    std::string err;
    ConversionResult result;
};

// One job per model, a model whose outputs would be those of an earlier one
// refused (letter case ignored: the file system may ignore it).
std::vector<BatchJob> planJobs(const std::vector<BatchModel>& models, const std::string& outputFolder) {
    std::vector<BatchJob> jobs;
    std::map<std::string, std::string> modelOfBase;
    for (const BatchModel& model : models) {
        BatchJob job{model, outputBaseFor(model.path, outputFolder, model.relativePath), {}, {}, {}, {}};
        const auto [earlier, fresh] = modelOfBase.emplace(asciiLowered(job.outputBase), model.path);
        if (!fresh) {
            job.refusal = OutputError{model.path, "its outputs would replace those of " + earlier->second};
        }
        jobs.push_back(std::move(job));
    }
    return jobs;
}

// The jobs of a run and how far the workers have come with them.
class JobBoard {
public:
    explicit JobBoard(std::vector<BatchJob>& jobs) : jobs_(jobs) {}

    // The next job to convert, or none left.
    BatchJob* take() {
        const size_t index = next_.fetch_add(1);
        if (index >= jobs_.size()) {
            return nullptr;
        }
        std::lock_guard lock(mutex_);
        current_ = jobs_[index].model.path;
        return &jobs_[index];
    }
    void finish(size_t index) {
        std::lock_guard lock(mutex_);
        finished_.insert(index);
        changed_.notify_one();
    }
    // Waits a little for a job to finish; the jobs finished so far and the
    // file taken last.
    size_t waitForFinished(std::string& current) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(100));
        current = current_;
        return finished_.size();
    }
    bool isFinished(size_t index) {
        std::lock_guard lock(mutex_);
        return finished_.count(index) != 0;
    }

private:
    std::vector<BatchJob>& jobs_;
    std::atomic<size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<size_t> finished_;
    std::string current_;
};

// The run's models: no output may be written over one of them.
std::vector<FileIdentity> modelFilesOf(const std::vector<BatchJob>& jobs) {
    std::vector<FileIdentity> files;
    for (const BatchJob& job : jobs) {
        if (const FileIdentity identity = identityOf(job.model.path); identity != FileIdentity{}) {
            files.push_back(identity);
        }
    }
    return files;
}

// What the workers of a run share: the run's models, which no output may
// be written over, and the images of their textures, converted once.
struct RunInputs {
    std::vector<FileIdentity> modelFiles;
    TextureCache textures;
};

void convertJob(const CommandLine& commandLine, RunInputs& inputs, BatchJob& job) {
    if (job.refusal) {
        job.result.failure = job.refusal;
        return;
    }
    const std::string folder(folderPart(job.outputBase));
    if (!commandLine.outputFolder.empty() && !createFolders(folder)) {
        job.result.failure = OutputError{folder, std::strerror(errno)};
        return;
    }
    std::ostringstream out;
    std::ostringstream err;
    job.result =
        convertModels(commandLine, {job.model.path}, job.outputBase, out, err, inputs.modelFiles, &inputs.textures);
    job.out = out.str();
    job.err = err.str();
}

void runWorker(const CommandLine& commandLine, RunInputs& inputs, std::vector<BatchJob>& jobs, JobBoard& board) {
    while (BatchJob* job = board.take()) {
        convertJob(commandLine, inputs, *job);
        board.finish(static_cast<size_t>(job - jobs.data()));
    }
}

}  // namespace

int runBatch(const CommandLine& commandLine, std::ostream& out, std::ostream& err, bool errorIsTerminal) {
    keepFreedMemoryForReuse();
    std::vector<OutputError> failures;
    std::vector<BatchJob> jobs = planJobs(listBatchModels(commandLine.modelPaths, failures), commandLine.outputFolder);
    RunInputs inputs{modelFilesOf(jobs), {}};
    Progress progress(err, errorIsTerminal, jobs.size());
    JobBoard board(jobs);
    std::vector<std::thread> workers;
    {
        // Only a thread that checks for an interrupt handles it, with the
        // others' lists of files complete.
        const InterruptHold hold;
        const size_t count = std::min<size_t>(availableCores(), jobs.size());
        for (size_t worker = 0; worker < count; ++worker) {
            workers.push_back(startThread([&] { runWorker(commandLine, inputs, jobs, board); }));
        }
        uint64_t polygons = 0;
        size_t converted = 0;
        for (size_t printed = 0; printed < jobs.size();) {
            leaveIfInterrupted();
            std::string current;
            const size_t finished = board.waitForFinished(current);
            for (; printed < jobs.size() && board.isFinished(printed); ++printed) {
                const BatchJob& job = jobs[printed];
                progress.erase();
                out << job.out << std::flush;
                err << job.err << std::flush;
                polygons += job.result.polygons;
                converted += job.result.failure ? 0 : 1;
            }
            progress.show(finished, polygons, current);
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
        leaveIfInterrupted();  // one that came at the end: before the summary
        progress.erase();
        err << "converted " << converted << " of " << jobs.size() << " models\n";
    }
    for (const BatchJob& job : jobs) {
        if (job.result.failure) {
            failures.push_back(*job.result.failure);
        }
    }
    for (const OutputError& failure : failures) {
        err << errorLine(failure.path, failure.reason);
    }
    err << std::flush;
    if (!commandLine.galleryPage.empty()) {
        std::vector<GalleryModel> models;
        for (const BatchJob& job : jobs) {
            models.push_back({job.model.relativePath, &job.result});
        }
        if (const std::optional<OutputError> failure = writeGallery(commandLine, models)) {
            err << errorLine(failure->path, failure->reason) << std::flush;
            return kExitFailure;
        }
    }
    return failures.empty() ? kExitSuccess : kExitFailure;
}

}  // namespace zelvane
