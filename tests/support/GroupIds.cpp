#include "GroupIds.h"

#include <gtest/gtest.h>

#include <regex>

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

std::string GroupIdNames::replaceIn(const std::string& text) {
    static const std::regex identifier(R"((usemtl tex|newmtl tex|name="|value="|^)([0-9a-f]+)(?=\.obj\b|"|\n|$))");
    std::string result;
    auto position = text.cbegin();
    for (std::sregex_iterator match(text.begin(), text.end(), identifier), end; match != end; ++match) {
        result.append(position, (*match)[2].first);
        result.append(nameFor((*match)[2].str()));
        position = (*match)[2].second;
    }
    result.append(position, text.cend());
    return result;
}

}  // namespace zelvane::test
