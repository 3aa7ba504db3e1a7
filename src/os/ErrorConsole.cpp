#include "ErrorConsole.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "unicode/Utf16Text.h"
#endif

namespace zelvane {

#ifdef _WIN32

namespace {

// The text as the console takes it: UTF-16, each "\n" as CR LF like every
// other text the converter writes on Windows.
std::wstring consoleTextOf(std::string_view text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back('\r');
        }
        lines.push_back(c);
    }
    const std::u16string units = utf16FromUtf8(lines);
    return std::wstring(units.begin(), units.end());
}

// Writes in pieces of a size the console surely takes, never parting a
// surrogate pair.
bool writeToConsole(HANDLE console, std::wstring_view text) {
    constexpr size_t kPieceSize = 8192;
    while (!text.empty()) {
        size_t piece = std::min(text.size(), kPieceSize);
        if (piece < text.size() && text[piece - 1] >= 0xD800 && text[piece - 1] <= 0xDBFF) {
            --piece;
        }
        DWORD written = 0;
        if (WriteConsoleW(console, text.data(), static_cast<DWORD>(piece), &written, nullptr) == 0 || written == 0) {
            return false;
        }
        text.remove_prefix(std::min<size_t>(written, text.size()));
    }
    return true;
}

// Collects UTF-8 text and hands it to the console a whole line at a time, so
// that no character is ever cut between two writes.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}
    ~ConsoleBuffer() override { writeText(text_.size()); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            text_.push_back(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize size) override {
        text_.append(text, static_cast<size_t>(size));
        return size;
    }

    int sync() override {
        const size_t lineEnd = text_.rfind('\n');
        return lineEnd == std::string::npos || writeText(lineEnd + 1) ? 0 : -1;
    }

private:
    bool writeText(size_t size) {
        const std::wstring text = consoleTextOf(std::string_view(text_).substr(0, size));
        text_.erase(0, size);
        return writeToConsole(console_, text);
    }

    HANDLE console_;
    std::string text_;  // not written yet
};

HANDLE errorConsoleHandle() {
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    const bool console = handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
    return console ? handle : nullptr;
}

}  // namespace

ErrorConsole::ErrorConsole() {
    if (const HANDLE console = errorConsoleHandle()) {
        std::cerr.flush();
        consoleBuffer_ = std::make_unique<ConsoleBuffer>(console);
        previousBuffer_ = std::cerr.rdbuf(consoleBuffer_.get());
    }
}

#else

ErrorConsole::ErrorConsole() = default;

#endif

ErrorConsole::~ErrorConsole() {
    if (consoleBuffer_) {
        std::cerr.flush();
        std::cerr.rdbuf(previousBuffer_);
    }
}

}  // namespace zelvane
