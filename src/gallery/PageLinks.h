#pragma once

#include <string>
#include <string_view>

#include "os/PathText.h"

namespace zelvane {

// Links from a document to files, as the converter names them: paths
// relative to the current folder or absolute, with either separator.
class PageLinks {
public:
    // For the document at pagePath; currentFolder is absolute.
    PageLinks(std::string_view pagePath, std::string currentFolder);

    // A URI reference to the file at path: relative to the document's
    // folder, each name percent-encoded, or a file: URI where there is no
    // relative way (another drive or share). Both paths are resolved by
    // their text alone: a ".." after a symbolic link to a folder takes off
    // the link's name rather than going to the folder above its target.
    std::string linkTo(std::string_view path) const;

private:
    std::string currentFolder_;
    LexicalPath pageFolder_;
};

// A file: URI for an absolute path.
std::string fileUri(const LexicalPath& path);

}  // namespace zelvane
