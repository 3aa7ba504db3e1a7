#include "TextPieces.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "os/Threads.h"

namespace zelvane {
namespace {

using Consume = std::function<void(std::string_view text)>;
using FormatPiece = std::function<void(size_t piece, TextBuffer& out)>;

// Room for a piece of 16,384 lines, in one block of 2 MiB pages rather than
// grown from small blocks; a short text grows its own.
constexpr size_t kPieceRoom = size_t{2} << 20;

// Two threads formatting pieces into a ring of buffers: the calling thread
// consumes the finished pieces in order and formats pieces whenever the
// next one to consume is not ready; the helper only formats. A piece is
// taken only when its buffer has been consumed.
class TwoThreadWriter {
public:
    TwoThreadWriter(size_t pieceCount, const FormatPiece& format, const Consume& consume)
        : pieceCount_(pieceCount), format_(format), consume_(consume) {
        for (Buffer& buffer : buffers_) {
            buffer.text.reserve(kPieceRoom);
        }
    }

    // False when no thread could be started; nothing has been consumed then.
    bool run() {
        std::thread helper;
        try {
            helper = startThread([this] { formatPieces(); });
        } catch (const std::system_error&) {
            return false;
        }
        try {
            consumePieces();
        } catch (...) {
            stop();
            helper.join();
            throw;
        }
        helper.join();
        if (helperFailure_) {
            std::rethrow_exception(helperFailure_);
        }
        return true;
    }

private:
    static constexpr size_t kBuffers = 4;

    // On cache lines of its own: a thread formatting into a buffer changes
    // its size with every line while the other thread uses the next one.
    struct alignas(64) Buffer {
        TextBuffer text;
        bool ready = false;
    };

    bool canTake() const { return next_ < pieceCount_ && next_ < consumed_ + kBuffers; }

    // Formats a piece taken under the lock, with the lock released meanwhile.
    void format(std::unique_lock<std::mutex>& lock) {
        const size_t piece = next_++;
        Buffer& buffer = buffers_[piece % kBuffers];
        lock.unlock();
        format_(piece, buffer.text);
        lock.lock();
        buffer.ready = true;
        changed_.notify_all();
    }

    void formatPieces() {
        try {
            std::unique_lock lock(mutex_);
            for (;;) {
                changed_.wait(lock, [this] { return canTake() || next_ == pieceCount_ || stopped_; });
                if (next_ == pieceCount_ || stopped_) {
                    return;
                }
                format(lock);
            }
        } catch (...) {
            helperFailure_ = std::current_exception();
            stop();
        }
    }

    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

    void consumePieces() {
        std::unique_lock lock(mutex_);
        while (consumed_ < pieceCount_ && !stopped_) {
            Buffer& buffer = buffers_[consumed_ % kBuffers];
            if (buffer.ready) {
                lock.unlock();
                consume_(buffer.text.view());
                buffer.text.clear();
                lock.lock();
                buffer.ready = false;
                ++consumed_;
                changed_.notify_all();
            } else if (canTake()) {
                format(lock);
            } else {
                changed_.wait(lock);
            }
        }
    }

    size_t pieceCount_;
    const FormatPiece& format_;
    const Consume& consume_;
    std::mutex mutex_;
    std::condition_variable changed_;
    Buffer buffers_[kBuffers];
    size_t next_ = 0;      // the next piece to format
    size_t consumed_ = 0;  // pieces consumed so far
    bool stopped_ = false;
    std::exception_ptr helperFailure_;
};

}  // namespace

void TextPieces::appendPiece(const Piece& piece, TextBuffer& out) {
    for (const Segment& segment : piece) {
        out.append(segment.text);
        if (segment.appendLines) {
            segment.appendLines(out, segment.begin, segment.end);
        }
    }
}

TextPieces::Piece& TextPieces::lastPiece() {
    if (pieces_.empty() || linesInLastPiece_ == sizes_.linesPerPiece) {
        pieces_.emplace_back();
        linesInLastPiece_ = 0;
    }
    return pieces_.back();
}

void TextPieces::addText(std::string text) {
    lastPiece().push_back(Segment{std::move(text), {}, 0, 0});
}

void TextPieces::addLines(size_t count, const AppendLines& appendLines) {
    for (size_t begin = 0; begin < count;) {
        Piece& piece = lastPiece();
        const size_t end = std::min(count, begin + (sizes_.linesPerPiece - linesInLastPiece_));
        piece.push_back(Segment{{}, appendLines, begin, end});
        linesInLastPiece_ += end - begin;
        begin = end;
    }
    lineCount_ += count;
}

void TextPieces::write(const Consume& consume) const {
    const FormatPiece format = [this](size_t piece, TextBuffer& out) { appendPiece(pieces_[piece], out); };
    if (lineCount_ >= sizes_.helperLines && TwoThreadWriter(pieces_.size(), format, consume).run()) {
        return;
    }
    TextBuffer text;
    if (lineCount_ >= sizes_.linesPerPiece) {
        text.reserve(kPieceRoom);
    }
    for (const Piece& piece : pieces_) {
        appendPiece(piece, text);
        consume(text.view());
        text.clear();
    }
}

}  // namespace zelvane
