#include "Folders.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#include "PathText.h"
#include "Platform.h"

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <windows.h>

#include "WidePath.h"
#else
#include <dirent.h>
#include <sched.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelvane {
namespace {

bool makeFolder(const std::string& path) {
#ifdef _WIN32
    return _wmkdir(widePath(path).c_str()) == 0;
#else
    return mkdir(path.c_str(), 0777) == 0;
#endif
}

}  // namespace

#ifdef _WIN32

namespace {

// Calls take(entry) for every entry that FindFirstFileW finds for pattern.
template <typename Take>
bool findFiles(const std::string& pattern, Take take) {
    WIN32_FIND_DATAW found {};
    const HANDLE search = FindFirstFileW(widePath(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : ENOENT;
        return errno == 0;
    }
    do {
        const std::string name = narrowPath(found.cFileName);
        if (name != "." && name != "..") {
            const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            take(FolderEntry{name, folder && !link, !folder});
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    return true;
}

}  // namespace

bool listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    const std::string folder = path.empty() || isSeparator(path.back()) ? path : path + "\\";
    return findFiles(folder + "*", [&](FolderEntry entry) { entries.push_back(std::move(entry)); });
}

std::vector<std::string> expandWildcard(const std::string& pattern) {
    const std::string_view name = fileNamePart(pattern);
    if (name.find_first_of("*?") == std::string_view::npos) {
        return {};
    }
    std::vector<std::string> paths;
    findFiles(pattern, [&](const FolderEntry& entry) {
        if (entry.file) {
            paths.push_back(std::string(folderPart(pattern)) + entry.name);
        }
    });
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

unsigned availableCores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

std::string currentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
        if (length == 0) {
            return {};
        }
        if (length < folder.size()) {
            folder.resize(length);
            return narrowPath(folder);
        }
        folder.resize(length);
    }
}

#else

bool listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    DIR* listing = opendir(path.empty() ? "." : path.c_str());
    if (listing == nullptr) {
        return false;
    }
    const std::string prefix = path.empty() || path.back() == '/' ? path : path + "/";
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        struct stat status {};
        struct stat target {};
        const std::string entryPath = prefix + name;
        if (name == "." || name == ".." || lstat(entryPath.c_str(), &status) != 0) {
            continue;
        }
        const bool file = S_ISREG(status.st_mode) || (S_ISLNK(status.st_mode) && stat(entryPath.c_str(), &target) == 0 &&
                                                      S_ISREG(target.st_mode));
        entries.push_back({name, S_ISDIR(status.st_mode), file});
    }
    closedir(listing);
    return true;
}

std::vector<std::string> expandWildcard(const std::string&) {
    return {};  // the shell has expanded them
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

unsigned availableCores() {
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) {
        return std::max(1, CPU_COUNT(&cores));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// The standard library's path is the system's bytes here, as ours are.
std::string currentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

#endif

bool createFolders(const std::string& path) {
    const std::string folder(withoutTrailingSeparators(path));
    if (folder.empty() || isFolder(folder)) {
        return true;
    }
    const std::string_view parent = folderPart(folder);
    if (!parent.empty() && !createFolders(std::string(parent))) {
        return false;
    }
    return makeFolder(folder) || (errno == EEXIST && isFolder(folder));
}

}  // namespace zelvane
