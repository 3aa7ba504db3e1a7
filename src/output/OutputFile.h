#pragma once

#include <string>
#include <string_view>

#include "text/TextBuffer.h"
#include "FileReplacement.h"

namespace zelvane {

// One output file being written under a temporary name beside the file its
// path finally names. Text collects in memory and goes to the file in large
// writes; the first failure of any write or of the close is kept.
class OutputFile {
public:
    static constexpr size_t kFlushSize = size_t{1} << 20;

    OutputFile(std::string path, std::string temporarySuffix, FileMode mode, const FileCalls& calls);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; false on failure.
    bool open();
    TextBuffer& text() { return text_; }
    // Hands the collected text to the file once there is enough of it.
    void flushIfLarge() {
        if (text_.size() >= kFlushSize) {
            flush();
        }
    }
    // Writes a large piece of text straight through.
    void write(std::string_view text);
    // Writes what is left and closes the file; false when anything failed.
    // Closing again only repeats the answer.
    bool close();

    const std::string& path() const { return path_; }
    // The temporary and how it takes the final file's place.
    FileReplacement& replacement() { return replacement_; }
    // The system's text for the first failure.
    std::string failure() const;

private:
    void flush();
    void writeBytes(std::string_view bytes);

    std::string path_;
    std::string temporarySuffix_;
    FileMode mode_;
    const FileCalls& calls_;
    FileReplacement replacement_;
    TextBuffer text_;
    int errno_ = 0;
};

}  // namespace zelvane
