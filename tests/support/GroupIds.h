#pragma once

#include <map>
#include <string>

namespace zelvane::test {

// Group identifiers differ from run to run, so outputs are compared by
// structure: every identifier (in "usemtl tex…", "newmtl tex…", shader names,
// surfaceshader values and "….obj" file references) is replaced by <G1>,
// <G2>, … in the order of first appearance. Names are shared across every
// text passed to one GroupIdNames, so the same group must carry the same
// identifier everywhere, and different groups different ones.
class GroupIdNames {
public:
    std::string replaceIn(const std::string& text);
    // The placeholder given to an identifier seen before, or "" if unseen.
    std::string nameOf(const std::string& id) const;
    size_t count() const { return names_.size(); }

private:
    std::string nameFor(const std::string& id);
    std::map<std::string, std::string> names_;
};

}  // namespace zelvane::test
