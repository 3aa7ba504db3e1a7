#include "GltfFiles.h"

#include "os/FolderLookup.h"
#include "os/WholeFile.h"

namespace zelvane {
namespace {

// A buffer may be as large as a .glb file can be.
constexpr uint64_t kLargestBuffer = uint64_t{4096} << 20;

// tinygltf joins the name to "" and then to ".": either way, the name as the
// document gives it.
std::string_view nameIn(std::string_view path) {
    return path.starts_with("./") ? path.substr(2) : path;
}

// Notes the first file that cannot be read, and why.
void noteProblem(GltfFolder& folder, std::string_view path, const std::string& reason) {
    if (folder.problem.empty()) {
        folder.problem = std::string(nameIn(path)) + ": " + reason;
    }
}

std::string lookupReason(const FolderLookup& lookup) {
    return lookup.result == LookupResult::kRefused ? lookup.reason : "not found";
}

bool fileExists(const std::string& path, void* user) {
    auto& folder = *static_cast<GltfFolder*>(user);
    const FolderLookup lookup = lookUpInFolder(folder.folder, nameIn(path));
    if (lookup.result != LookupResult::kFound) {
        noteProblem(folder, path, lookupReason(lookup));
    }
    return lookup.result == LookupResult::kFound;
}

std::string expandFilePath(const std::string& path, void*) {
    return path;
}

bool readWholeFile(std::vector<unsigned char>* bytes, std::string* error, const std::string& path, void* user) {
    auto& folder = *static_cast<GltfFolder*>(user);
    const FolderLookup lookup = lookUpInFolder(folder.folder, nameIn(path));
    std::string reason = lookupReason(lookup);
    if (lookup.result == LookupResult::kFound) {
        reason = zelvane::readWholeFile(lookup.path, kLargestBuffer, *bytes);
    }
    if (!reason.empty()) {
        noteProblem(folder, path, reason);
        *error = reason;
        return false;
    }
    folder.filesRead.push_back(lookup.path);
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

tinygltf::FsCallbacks folderCallbacks(GltfFolder& folder) {
    return {fileExists, expandFilePath, readWholeFile, nullptr, &folder};
}

bool keepImageBytes(tinygltf::Image* image, int, std::string*, std::string*, int, int, const unsigned char* bytes,
                    int size, void*) {
    if (image->bufferView < 0 && size > 0) {
        image->image.assign(bytes, bytes + size);
    }
    image->as_is = true;
    return true;
}

std::string percentDecoded(std::string_view uri) {
    std::string text;
    for (size_t index = 0; index < uri.size(); ++index) {
        const int high = index + 2 < uri.size() && uri[index] == '%' ? hexValue(uri[index + 1]) : -1;
        const int low = high >= 0 ? hexValue(uri[index + 2]) : -1;
        if (low >= 0) {
            text.push_back(static_cast<char>(high * 16 + low));
            index += 2;
        } else {
            text.push_back(uri[index]);
        }
    }
    return text;
}

}  // namespace zelvane
