#include "FolderLookup.h"

#include <vector>

#include "PathText.h"

#ifdef _WIN32
#include <windows.h>

#include "WidePath.h"
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace zelvane {
namespace {

// The components of a name; empty ones (doubled separators) and "." are
// left out.
std::vector<std::string_view> componentsOf(std::string_view name) {
    std::vector<std::string_view> components;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) {
            ++end;
        }
        if (end > start && name.substr(start, end - start) != ".") {
            components.push_back(name.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

// Windows drops trailing dots and spaces from a component, so ". ." or "..."
// reach the same entry as "." or "..".
bool climbsOut(std::string_view component) {
    return component.find_last_not_of(". ") == std::string_view::npos;
}

enum class EntryKind { kMissing, kFolder, kFile, kLink, kOther };

#ifdef _WIN32

EntryKind entryKindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryKind::kMissing;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return EntryKind::kLink;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder : EntryKind::kFile;
}

// The file system ignores letter case itself.
std::string findEntry(const std::string& folder, std::string_view component) {
    return joinPath(folder, component);
}

#else

EntryKind entryKindOf(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        return EntryKind::kMissing;
    }
    if (S_ISLNK(status.st_mode)) {
        return EntryKind::kLink;
    }
    if (S_ISDIR(status.st_mode)) {
        return EntryKind::kFolder;
    }
    return S_ISREG(status.st_mode) ? EntryKind::kFile : EntryKind::kOther;
}

// The entry of folder named component: exactly, or else the first in byte
// order that differs only in ASCII letter case; the exact path when none is.
std::string findEntry(const std::string& folder, std::string_view component) {
    std::string exact = joinPath(folder, component);
    if (entryKindOf(exact) != EntryKind::kMissing) {
        return exact;
    }
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return exact;
    }
    std::string best;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (equalIgnoringAsciiCase(name, component) && (best.empty() || name < best)) {
            best = name;
        }
    }
    closedir(listing);
    return best.empty() ? exact : joinPath(folder, best);
}

#endif

}  // namespace

std::string refusalOf(std::string_view name) {
    if (name.empty()) {
        return "the name is empty";
    }
    if (isSeparator(name.front())) {
        return "an absolute name is not looked up";
    }
    if (name.find(':') != std::string_view::npos) {
        return "a name with a drive or a colon is not looked up";
    }
    for (std::string_view component : componentsOf(name)) {
        if (climbsOut(component)) {
            return "a name that leads out of its folder (\"..\") is not looked up";
        }
    }
    return {};
}

FolderLookup lookUpInFolder(const std::string& folder, std::string_view name) {
    if (std::string reason = refusalOf(name); !reason.empty()) {
        return {LookupResult::kRefused, {}, std::move(reason)};
    }
    const std::vector<std::string_view> components = componentsOf(name);
    std::string path = folder;
    if (components.empty()) {
        return {};
    }
    for (size_t index = 0; index < components.size(); ++index) {
        path = findEntry(path, components[index]);
        const EntryKind wanted = index + 1 == components.size() ? EntryKind::kFile : EntryKind::kFolder;
        if (entryKindOf(path) != wanted) {
            return {};
        }
    }
    return {LookupResult::kFound, path, {}};
}

}  // namespace zelvane
