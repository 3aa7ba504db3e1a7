#include "Progress.h"

#include <algorithm>
#include <cstdio>

namespace zelvane {
namespace {

constexpr size_t kLineWidth = 79;  // fits a console of 80 columns without wrapping

// The polygons per second in a few digits: 950, 12.3k, 4.1M.
std::string formatRate(double perSecond) {
    char text[32];
    if (perSecond >= 1e6) {
        std::snprintf(text, sizeof text, "%.1fM", perSecond / 1e6);
    } else if (perSecond >= 1e3) {
        std::snprintf(text, sizeof text, "%.1fk", perSecond / 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.0f", perSecond);
    }
    return text;
}

}  // namespace

Progress::Progress(std::ostream& terminal, bool shown, size_t modelCount)
    : terminal_(terminal), shown_(shown), modelCount_(modelCount) {}

void Progress::show(size_t done, uint64_t polygons, const std::string& currentFile) {
    if (!shown_) {
        return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string line = std::to_string(done) + " of " + std::to_string(modelCount_) + " models, " +
                       formatRate(seconds > 0 ? static_cast<double>(polygons) / seconds : 0.0) + " polygons/s";
    if (!currentFile.empty() && line.size() + 3 < kLineWidth) {
        const size_t room = kLineWidth - line.size() - 2;
        line += ", " + (currentFile.size() <= room ? currentFile : "..." + currentFile.substr(currentFile.size() - room + 3));
    }
    // Blanks over what is left of a longer line before it: no terminal
    // control codes, which not every console reads.
    const size_t width = line.size();
    line.append(width_ > width ? width_ - width : 0, ' ');
    terminal_ << '\r' << line << '\r' << std::flush;
    width_ = width;
}

void Progress::erase() {
    if (!shown_ || width_ == 0) {
        return;
    }
    terminal_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    width_ = 0;
}

}  // namespace zelvane
