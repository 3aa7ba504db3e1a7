#include "TexturePreparation.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include "image/ImageCodec.h"
#include "image/MedianCut.h"
#include "image/PcxEncoder.h"
#include "os/FolderLookup.h"
#include "os/PathText.h"
#include "os/Platform.h"
#include "os/WholeFile.h"
#include "output/OutputPlaces.h"

namespace zelvane {
namespace {

// The type of PCX files, for images made for the game.
constexpr std::string_view kPcxMimeType = "image/vnd.zbrush.pcx";

// No texture of a game comes near this; a larger file is not read.
constexpr uint64_t kLargestImageFile = uint64_t{256} << 20;

struct FoundImage {
    uint32_t texture = 0;
    std::string path;
    FileIdentity identity;
    std::shared_ptr<const std::vector<uint8_t>> bytes;  // an image the model holds: no path
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
    reason = readWholeFile(path, kLargestImageFile, bytes);
    return reason.empty();
}

// A file name without its last ending; a name whose only dot starts it is
// all stem (".png").
std::string_view stemOf(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

// The image as the game reads it, an 8-bit paletted PCX file: a PCX file as
// it is, once it decodes; any other decoded, with a palette of its colours
// (see toPalette). Dropping transparency leaves a note.
bool convertToPcx(std::vector<uint8_t> source, const std::string& fileName, const TextureSearch& search,
                  TextureFile& file, bool& copied, std::string& reason, std::string& note) {
    const ImageFormat format = detectImageFormat(source, fileName);
    if (format == ImageFormat::kUnknown) {
        reason = "not a PCX, BMP, TGA, PNG or JPEG image";
        return false;
    }
    DecodedImage decoded = decodeImage(source, format);
    if (!decoded.image) {
        reason = std::move(decoded.error);
        return false;
    }
    copied = format == ImageFormat::kPcx;
    if (copied) {
        file.bytes = std::move(source);
    } else {
        if (hasTransparency(*decoded.image)) {
            note = "transparency dropped: an 8-bit PCX image has none";
        }
        file.bytes = encodePcx(toPalette(*decoded.image));
    }
    file.mimeType = kPcxMimeType;
    if (search.keepDecoded) {
        file.decoded = std::move(*decoded.image);
    }
    return true;
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

// The name of the image for a texture: a PCX file for the game takes the
// texture's file name, ending in ".pcx"; a copy keeps the found file's name
// (one the model holds takes the texture's file name with its format's
// ending); a conversion takes the texture's file name with ".png".
std::string imageNameFor(const std::string& textureName, const FoundImage& found, const TextureFile& file,
                         bool copied) {
    const std::string_view fileName = fileNamePart(textureName);
    if (file.mimeType == kPcxMimeType) {
        const std::string_view ending = fileName.substr(stemOf(fileName).size());
        return equalIgnoringAsciiCase(ending, ".pcx") ? std::string(fileName) : std::string(stemOf(fileName)) + ".pcx";
    }
    if (copied && !found.path.empty()) {
        return std::string(fileNamePart(found.path));
    }
    const std::string_view ending = copied && file.mimeType == mimeTypeOf(ImageFormat::kJpeg) ? ".jpg" : ".png";
    return std::string(stemOf(fileName)) + std::string(ending);
}

// Where a texture's image is: in the bytes its source holds, or in a file
// the source's name, or its own, leads to.
bool locateImage(uint32_t texture, const std::string& name, const TextureSearch& search, FoundImage& found,
                 std::string& reason) {
    const TextureSource* source = texture < search.sources.size() ? &search.sources[texture] : nullptr;
    if (source != nullptr && source->bytes) {
        found.bytes = source->bytes;
        return true;
    }
    const bool renamed = source != nullptr && !source->lookupName.empty();
    return findImage(renamed ? source->lookupName : name, foldersFor(texture, search), found, reason);
}

bool readImage(const FoundImage& image, std::vector<uint8_t>& bytes, std::string& reason) {
    if (image.bytes) {
        bytes = *image.bytes;
        return true;
    }
    return readImageFile(image.path, bytes, reason);
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
        FoundImage image{texture, {}, {}, {}};
        std::string reason;
        if (!locateImage(texture, name, search, image, reason)) {
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
    std::map<const void*, uint32_t> fileOfBytes;
    for (const FoundImage& image : found) {
        const std::string& name = store.textures[image.texture];
        const std::pair<uint64_t, uint64_t> source{image.identity.device, image.identity.file};
        const bool identified = image.identity != FileIdentity{};
        if (const auto known = fileOfSource.find(source); identified && known != fileOfSource.end()) {
            result.fileOfTexture[image.texture] = known->second;
            continue;
        }
        if (const auto known = fileOfBytes.find(image.bytes.get()); image.bytes && known != fileOfBytes.end()) {
            result.fileOfTexture[image.texture] = known->second;
            continue;
        }
        std::vector<uint8_t> bytes;
        TextureFile file;
        std::string reason;
        std::string note;
        bool copied = false;
        const bool converted =
            readImage(image, bytes, reason) &&
            (search.pcx ? convertToPcx(std::move(bytes), name, search, file, copied, reason, note)
                        : convertImage(std::move(bytes), name, search, file, copied, reason));
        if (!converted) {
            warnings.push_back({image.texture, name, reason, image.bytes ? std::vector<std::string>{}
                                                                         : foldersFor(image.texture, search)});
            continue;
        }
        if (!note.empty()) {
            warnings.push_back({image.texture, name, note, {}});
        }
        file.fileName = names.claim(imageNameFor(name, image, file, copied),
                                    copied ? image.identity : FileIdentity{}, file.inPlace);
        if (identified) {
            fileOfSource[source] = static_cast<uint32_t>(result.files.size());
        }
        if (image.bytes) {
            fileOfBytes[image.bytes.get()] = static_cast<uint32_t>(result.files.size());
        }
        result.fileOfTexture[image.texture] = static_cast<uint32_t>(result.files.size());
        result.files.push_back(std::move(file));
    }
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const TextureWarning& a, const TextureWarning& b) { return a.texture < b.texture; });
    return result;
}

}  // namespace zelvane
