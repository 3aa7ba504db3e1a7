#include "GroupIds.h"

#include <gtest/gtest.h>

#include <string_view>

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
size_t identifierStart(std::string_view text, size_t position) {
    static constexpr std::string_view prefixes[] = {"usemtl tex", "newmtl tex", "name=\"", "value=\""};
    for (const std::string_view prefix : prefixes) {
        if (text.substr(position).starts_with(prefix)) return position + prefix.size();
    }
    return position == 0 ? 0 : std::string::npos;
}

bool endsIdentifier(std::string_view text, size_t position) {
    return position == text.size() || text[position] == '"' || text[position] == '\n' || text[position] == '\r' ||
           text.substr(position).starts_with(".obj");
}

// The first position from which an identifier may start: every prefix
// begins with one of these letters.
size_t nextPossibleStart(std::string_view text, size_t position) {
    while (position < text.size() && text[position] != 'u' && text[position] != 'n' && text[position] != 'v') {
        ++position;
    }
    return position;
}

}  // namespace

std::string GroupIdNames::replaceIn(const std::string& text) {
    std::string result;
    size_t copied = 0;  // text[0, copied) is in result
    size_t position = 0;
    while (position < text.size()) {
        const size_t start = identifierStart(text, position);
        size_t end = start;
        while (end != std::string::npos && end < text.size() && isLowerHex(text[end])) ++end;
        if (start == std::string::npos || end == start || !endsIdentifier(text, end)) {
            position = nextPossibleStart(text, position + 1);
            continue;
        }
        result.append(text, copied, start - copied);
        result.append(nameFor(text.substr(start, end - start)));
        position = copied = end;
    }
    return result.append(text, copied);
}

}  // namespace zelvane::test
