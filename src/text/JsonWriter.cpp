#include "JsonWriter.h"

namespace zelvane {
namespace {

// Items this deep start a line: the outermost object's members and the
// elements of the arrays they hold.
constexpr size_t kDeepestLinedItem = 2;

void startLine(TextBuffer& out, size_t depth) {
    out.append('\n');
    out.append(std::string_view("    ", 2 * depth));
}

}  // namespace

// Whatever comes before a value or key: the comma after the item before,
// and at the outer levels a new line. A value after its key takes neither.
void JsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasItems_.empty()) {
        return;
    }
    if (hasItems_.back()) {
        out_.append(',');
    }
    hasItems_.back() = true;
    if (hasItems_.size() <= kDeepestLinedItem) {
        startLine(out_, hasItems_.size());
    }
}

void JsonWriter::open(char bracket) {
    beginValue();
    out_.append(bracket);
    hasItems_.push_back(false);
}

void JsonWriter::close(char bracket) {
    const bool lined = hasItems_.back() && hasItems_.size() <= kDeepestLinedItem;
    hasItems_.pop_back();
    if (lined) {
        startLine(out_, hasItems_.size());
    }
    out_.append(bracket);
    if (hasItems_.empty()) {
        out_.append('\n');
    }
}

void JsonWriter::writeKey(std::string_view name) {
    beginValue();
    appendJsonString(out_, name);
    out_.append(':');
    afterKey_ = true;
}

void JsonWriter::writeString(std::string_view text) {
    beginValue();
    appendJsonString(out_, text);
}

void JsonWriter::writeNumber(double value) {
    beginValue();
    appendJsonNumber(out_, value);
}

void JsonWriter::writeInteger(uint64_t value) {
    beginValue();
    appendJsonNumber(out_, value);
}

}  // namespace zelvane
