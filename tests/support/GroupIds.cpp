#include "GroupIds.h"

#include <gtest/gtest.h>


namespace zelvane::test {

std::string GroupIdNames::nameFor(const std::string& id) {
    EXPECT_NE(id.front(), '0') << "identifier with a leading zero: " << id;
    auto [entry, inserted] = names_.try_emplace(id, "");
    if (inserted) {
        entry->second = "<G" + std::to_string(names_.size()) + ">";
    }
    return entry->second;
}

std::string GroupIdNames::nameOf(const std::string& id) const {
    auto found = names_.find(id);
    return found == names_.end() ? "" : found->second;
}

namespace {

bool isLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Where an identifier may start at position: after one of the prefixes that
// introduce one, or at the very start (a mesh file's name).
size_t identifierStart(const std::string& text, size_t position) {
    static const char* const prefixes[] = {"usemtl tex", "newmtl tex", "name=\"", "value=\""};
    for (const std::string prefix : prefixes) {
        if (text.compare(position, prefix.size(), prefix) == 0) return position + prefix.size();
    }
    return position == 0 ? 0 : std::string::npos;
}

bool endsIdentifier(const std::string& text, size_t position) {
    return position == text.size() || text[position] == '"' || text[position] == '\n' || text[position] == '\r' ||
           text.compare(position, 4, ".obj") == 0;
}

}  // namespace

std::string GroupIdNames::replaceIn(const std::string& text) {
    std::string result;
    size_t position = 0;
    while (position < text.size()) {
        const size_t start = identifierStart(text, position);
        size_t end = start;
        while (end != std::string::npos && end < text.size() && isLowerHex(text[end])) ++end;
        if (start == std::string::npos || end == start || !endsIdentifier(text, end)) {
            result.push_back(text[position++]);
            continue;
        }
        result.append(text, position, start - position);
        result.append(nameFor(text.substr(start, end - start)));
        position = end;
    }
    return result;
}

}  // namespace zelvane::test
