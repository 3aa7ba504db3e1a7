#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TextBuffer.h"

namespace zelvane {

// How a writer splits a large text: into pieces of at most linesPerPiece
// lines, formatted by a second thread too once the text has helperLines
// lines. The defaults suit every model; tests make them small.
struct PieceSizes {
    size_t linesPerPiece = size_t{1} << 14;
    size_t helperLines = size_t{1} << 17;
};

// A text made of pieces, each appended to a buffer by a function of its
// own, independently of the others, so that two threads can format two
// pieces at once.
class TextPieces {
public:
    using AppendLines = std::function<void(TextBuffer& out, size_t begin, size_t end)>;

    explicit TextPieces(const PieceSizes& sizes) : sizes_(sizes) {}

    // A piece of fixed text.
    void addText(std::string text);
    // Pieces for count lines: appendLines appends lines [begin, end).
    void addLines(size_t count, const AppendLines& appendLines);

    // Formats every piece and hands the text to consume, in order. From
    // helperLines lines on, a second thread formats pieces too while this
    // one formats, and consumes the finished pieces in order; the text is
    // the same either way.
    void write(const std::function<void(std::string_view text)>& consume) const;

private:
    using Append = std::function<void(TextBuffer& out)>;

    PieceSizes sizes_;
    std::vector<Append> pieces_;
    size_t lineCount_ = 0;
};

}  // namespace zelvane
