#include "PageLinks.h"

#include <utility>

#include "text/UriText.h"

namespace zelvane {
namespace {

void appendEncodedNames(std::string& uri, const LexicalPath& path, size_t first) {
    for (size_t index = first; index < path.names.size(); ++index) {
        if (index > first) {
            uri += '/';
        }
        uri += fileNameUri(path.names[index]);
    }
}

// The root's part of a file: URI, up to the "/" before the first name.
std::string fileUriRoot(const LexicalPath& path) {
    if (!path.windows) {
        return "file:///";
    }
    if (path.root.starts_with("//")) {  // file://server/share/
        const std::string_view serverAndShare = std::string_view(path.root).substr(2);
        const size_t slash = serverAndShare.find('/');
        return "file://" + fileNameUri(serverAndShare.substr(0, slash)) + "/" +
               fileNameUri(serverAndShare.substr(slash + 1)) + "/";
    }
    return "file:///" + path.root + "/";  // file:///C:/
}

size_t commonNames(const LexicalPath& a, const LexicalPath& b) {
    size_t count = 0;
    while (count < a.names.size() && count < b.names.size() && sameName(a, a.names[count], b.names[count])) {
        ++count;
    }
    return count;
}

}  // namespace

PageLinks::PageLinks(std::string_view pagePath, std::string currentFolder)
    : currentFolder_(std::move(currentFolder)), pageFolder_(absoluteLexicalPath(pagePath, currentFolder_)) {
    if (!pageFolder_.names.empty()) {
        pageFolder_.names.pop_back();  // the page's own name
    }
}

std::string PageLinks::linkTo(std::string_view path) const {
    const LexicalPath target = absoluteLexicalPath(path, currentFolder_);
    if (!sameRoot(pageFolder_, target)) {
        return fileUri(target);
    }
    const size_t common = commonNames(pageFolder_, target);
    std::string link;
    for (size_t up = common; up < pageFolder_.names.size(); ++up) {
        link += "../";
    }
    appendEncodedNames(link, target, common);
    return link.empty() ? "./" : link;
}

std::string fileUri(const LexicalPath& path) {
    std::string uri = fileUriRoot(path);
    appendEncodedNames(uri, path, 0);
    return uri;
}

}  // namespace zelvane
