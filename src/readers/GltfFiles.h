// The files a glTF document refers to, read for tinygltf from the
// document's folder only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "TinyGltf.h"

namespace zelvane {

// The document's folder and what was read from it (or why not).
struct GltfFolder {
    std::string folder;  // "" is the current folder
    std::vector<std::string> filesRead;
    std::string problem;  // the first file that could not be read, and why
};

// Callbacks that find a buffer's file in the folder as a texture's image is
// found (lookUpInFolder: never outside it, never through a link) and read
// it whole.
tinygltf::FsCallbacks folderCallbacks(GltfFolder& folder);

// Keeps an image's bytes as they are in the image's own vector, for images
// held in data URIs; those in buffer views are left to the reader, which
// checks the view's bounds first.
bool keepImageBytes(tinygltf::Image* image, int index, std::string* error, std::string* warning, int width,
                    int height, const unsigned char* bytes, int size, void* user);

// A URI's text with its %XX escapes decoded; an escape that is not one is
// kept as it stands.
std::string percentDecoded(std::string_view uri);

}  // namespace zelvane
