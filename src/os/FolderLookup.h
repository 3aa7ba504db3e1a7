// Finding a file that a model names, such as a texture image, in a folder.
// The names come from files made on a system that ignores letter case and
// separates folders with "\", and they are untrusted: a lookup never leaves
// the folder it is made in.
#pragma once

#include <string>
#include <string_view>

namespace zelvane {

enum class LookupResult { kFound, kMissing, kRefused };

struct FolderLookup {
    LookupResult result = LookupResult::kMissing;
    std::string path;    // kFound: the file, as the folder holds it
    std::string reason;  // kRefused: why the name is not looked up
};

// Why a name is not to be looked up at all: an absolute name, a drive or a
// colon, or a ".." component (or a component that the system would read as
// one, such as ". ."). Empty when the name is fine.
std::string refusalOf(std::string_view name);

// Finds name, a relative path whose separators may be "/" or "\", in folder
// ("" is the current folder). Each component matches exactly or, failing
// that, without regard to ASCII letter case (the first such entry in byte
// order); folders and the file are never reached through a symbolic link.
// The file must be a regular file.
FolderLookup lookUpInFolder(const std::string& folder, std::string_view name);

}  // namespace zelvane
