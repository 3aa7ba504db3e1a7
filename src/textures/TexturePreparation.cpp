#include "TexturePreparation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include "image/ImageCodec.h"
#include "os/FolderLookup.h"
#include "os/PathText.h"
#include "os/Platform.h"
#include "output/OutputPlaces.h"

namespace zelvane {
namespace {

// No texture of a game comes near this; a larger file is not read.
constexpr uint64_t kLargestImageFile = uint64_t{256} << 20;

struct FoundImage {
    uint32_t texture = 0;
    std::string path;
    FileIdentity identity;
};

// The textures that some group shows, by number.
std::set<uint32_t> texturesInUse(const MeshStore& store) {
    std::set<uint32_t> textures;
    for (const auto& group : store.groups) {
        if (group.first.textured() && store.textureName(group.first.texture) != nullptr) {
            textures.insert(group.first.texture);
        }
    }
    return textures;
}

std::vector<std::string> foldersFor(uint32_t texture, const TextureSearch& search) {
    std::vector<std::string> folders;
    folders.push_back(texture < search.modelFolders.size() ? search.modelFolders[texture] : std::string());
    folders.insert(folders.end(), search.extraFolders.begin(), search.extraFolders.end());
    return folders;
}

// The first folder that has the image, or the reason none has.
bool findImage(const std::string& name, const std::vector<std::string>& folders, FoundImage& found,
               std::string& reason) {
    reason = refusalOf(name);
    if (!reason.empty()) {
        return false;
    }
    for (const std::string& folder : folders) {
        FolderLookup lookup = lookUpInFolder(folder, name);
        if (lookup.result == LookupResult::kFound) {
            found.path = std::move(lookup.path);
            found.identity = identityBesideOutputs(found.path);
            return true;
        }
    }
    reason = "not found";
    return false;
}

bool readImageFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason) {
    std::FILE* file = openBinaryFile(path);
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    const FileStatus status = statusOf(file);
    if (!status.regular || status.size > kLargestImageFile) {
        reason = status.regular ? "larger than 256 MiB" : "not a regular file";
        std::fclose(file);
        return false;
    }
    bytes.resize(static_cast<size_t>(status.size));
    const bool whole = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fgetc(file) == EOF;
    reason = whole ? "" : "could not be read whole";
    std::fclose(file);
    return whole;
}

// The image the outputs can show: a PNG or JPEG as it is (copied), anything
// else decoded and written as PNG. Sets the file's mime type and bytes (but
// for onlyDecoded), and with keepDecoded its pixels where they can be had.
bool convertImage(std::vector<uint8_t> source, const std::string& fileName, const TextureSearch& search,
                  TextureFile& file, bool& copied, std::string& reason) {
    const ImageFormat format = detectImageFormat(source, fileName);
    copied = format == ImageFormat::kPng || format == ImageFormat::kJpeg;
    if (copied) {
        reason = checkImageHeader(source, format);
        if (search.keepDecoded && reason.empty() && format == ImageFormat::kPng) {
            file.decoded = decodeImage(source, format).image.value_or(Image{});
        }
        file.mimeType = mimeTypeOf(format);
        file.bytes = std::move(source);
        return reason.empty();
    }
    if (format == ImageFormat::kUnknown) {
        reason = "not a PCX, BMP, TGA, PNG or JPEG image";
        return false;
    }
    DecodedImage decoded = decodeImage(source, format);
    if (!decoded.image) {
        reason = std::move(decoded.error);
        return false;
    }
    file.mimeType = mimeTypeOf(ImageFormat::kPng);
    if (!search.onlyDecoded) {
        file.bytes = encodePng(*decoded.image);
    }
    if (search.keepDecoded) {
        file.decoded = std::move(*decoded.image);
    }
    return true;
}

// A file name without its last ending; a name whose only dot starts it is
// all stem (".png").
std::string_view stemOf(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

// The names of the images beside the outputs: each used once, whatever the
// letter case (the file system may ignore it), and never a source's.
class ImageNames {
public:
    ImageNames(std::string folder, std::set<std::pair<uint64_t, uint64_t>> sources,
               const std::vector<std::string>& reserved)
        : folder_(std::move(folder)), sources_(std::move(sources)) {
        for (const std::string& name : reserved) {
            taken_.insert(asciiLowered(name));
        }
    }

    // The name itself when it is free, else stem-2.ext, stem-3.ext, ...;
    // inPlace tells whether the name already holds the source (of a copy:
    // give a conversion no source).
    std::string claim(std::string_view name, const FileIdentity& source, bool& inPlace) {
        const std::string_view stem = stemOf(name);
        const std::string_view extension = name.substr(stem.size());
        std::string candidate(name);
        for (unsigned suffix = 2; !isFree(candidate, source, inPlace); ++suffix) {
            candidate = std::string(stem) + "-" + std::to_string(suffix) + std::string(extension);
        }
        taken_.insert(asciiLowered(candidate));
        return candidate;
    }

private:
    bool isFree(const std::string& name, const FileIdentity& source, bool& inPlace) const {
        if (taken_.count(asciiLowered(name)) != 0) {
            return false;
        }
        const FileIdentity there = identityBesideOutputs(folder_ + name);
        inPlace = there != FileIdentity{} && there == source;
        return inPlace || there == FileIdentity{} || sources_.count({there.device, there.file}) == 0;
    }

    std::string folder_;
    std::set<std::pair<uint64_t, uint64_t>> sources_;
    std::set<std::string> taken_;
};

// The name of the image for a texture: a copy keeps the found file's name,
// a conversion takes the texture's file name with ".png".
std::string imageNameFor(const std::string& textureName, const FoundImage& found, bool copied) {
    if (copied) {
        return std::string(fileNamePart(found.path));
    }
    return std::string(stemOf(fileNamePart(textureName))) + ".png";
}

}  // namespace

TextureFiles prepareTextureFiles(const MeshStore& store, const TextureSearch& search,
                                 std::vector<TextureWarning>& warnings) {
    TextureFiles result;
    result.fileOfTexture.assign(store.textures.size(), TextureFiles::kNoFile);
    std::vector<FoundImage> found;
    std::set<std::pair<uint64_t, uint64_t>> sources;
    for (const uint32_t texture : texturesInUse(store)) {
        const std::string& name = store.textures[texture];
        FoundImage image{texture, {}, {}};
        std::string reason;
        if (!findImage(name, foldersFor(texture, search), image, reason)) {
            warnings.push_back({texture, name, reason, foldersFor(texture, search)});
            continue;
        }
        if (image.identity != FileIdentity{}) {
            sources.insert({image.identity.device, image.identity.file});
        }
        found.push_back(std::move(image));
    }
    ImageNames names(search.outputFolder, sources, search.reservedNames);
    std::map<std::pair<uint64_t, uint64_t>, uint32_t> fileOfSource;
    for (const FoundImage& image : found) {
        const std::string& name = store.textures[image.texture];
        const std::pair<uint64_t, uint64_t> source{image.identity.device, image.identity.file};
        const bool identified = image.identity != FileIdentity{};
        if (const auto known = fileOfSource.find(source); identified && known != fileOfSource.end()) {
            result.fileOfTexture[image.texture] = known->second;
            continue;
        }
        std::vector<uint8_t> bytes;
        TextureFile file;
        std::string reason;
        bool copied = false;
        if (!readImageFile(image.path, bytes, reason) ||
            !convertImage(std::move(bytes), name, search, file, copied, reason)) {
            warnings.push_back({image.texture, name, reason, foldersFor(image.texture, search)});
            continue;
        }
        file.fileName = names.claim(imageNameFor(name, image, copied), copied ? image.identity : FileIdentity{},
                                    file.inPlace);
        if (identified) {
            fileOfSource[source] = static_cast<uint32_t>(result.files.size());
        }
        result.fileOfTexture[image.texture] = static_cast<uint32_t>(result.files.size());
        result.files.push_back(std::move(file));
    }
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const TextureWarning& a, const TextureWarning& b) { return a.texture < b.texture; });
    return result;
}

}  // namespace zelvane
