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

// A text made of pieces of about linesPerPiece lines, each appended to a
// buffer independently of the others, so that two threads can format two
// pieces at once. Fixed texts and short runs of lines share a piece.
class TextPieces {
public:
    using AppendLines = std::function<void(TextBuffer& out, size_t begin, size_t end)>;

    explicit TextPieces(const PieceSizes& sizes = {}) : sizes_(sizes) {}

    // Fixed text.
    void addText(std::string text);
    // count lines: appendLines appends lines [begin, end).
    void addLines(size_t count, const AppendLines& appendLines);

    // Formats every piece and hands the text to consume, in order. From
    // helperLines lines on, a second thread formats pieces too while this
    // one formats, and consumes the finished pieces in order; the text is
    // the same either way.
    void write(const std::function<void(std::string_view text)>& consume) const;

private:
    // Fixed text, then lines [begin, end) of appendLines, if it has any.
    struct Segment {
        std::string text;
        AppendLines appendLines;
        size_t begin = 0;
        size_t end = 0;
    };
    using Piece = std::vector<Segment>;

    static void appendPiece(const Piece& piece, TextBuffer& out);
    Piece& lastPiece();

    PieceSizes sizes_;
    std::vector<Piece> pieces_;
    size_t linesInLastPiece_ = 0;
    size_t lineCount_ = 0;
};

}  // namespace zelvane
