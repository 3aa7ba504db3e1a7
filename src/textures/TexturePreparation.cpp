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

// A file name without its last ending; a name whose only dot starts it is
// all stem (".png").
std::string_view stemOf(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

// The image as the game reads it, an 8-bit paletted PCX file: a PCX file as
// it is, once it decodes; any other decoded, with a palette of its colours
// (see toPalette). Dropping transparency leaves a note.
ImageConversion convertToPcx(std::vector<uint8_t> source, const std::string& fileName, const TextureSearch& search) {
    ImageConversion conversion;
    const ImageFormat format = detectImageFormat(source, fileName);
    if (format == ImageFormat::kUnknown) {
        conversion.reason = "not a PCX, BMP, TGA, PNG or JPEG image";
        return conversion;
    }
    DecodedImage decoded = decodeImage(source, format);
    if (!decoded.image) {
        conversion.reason = std::move(decoded.error);
        return conversion;
    }
    auto content = std::make_shared<ImageContent>();
    conversion.copied = format == ImageFormat::kPcx;
    if (conversion.copied) {
        content->bytes = std::move(source);
    } else {
        if (hasTransparency(*decoded.image)) {
            conversion.note = "transparency dropped: an 8-bit PCX image has none";
        }
        content->bytes = encodePcx(toPalette(*decoded.image));
    }
    content->mimeType = kPcxMimeType;
    if (search.keepDecoded) {
        content->decoded = std::move(*decoded.image);
    }
    conversion.content = std::move(content);
    return conversion;
}

// The image the outputs can show: a PNG or JPEG as it is (copied), anything
// else decoded and written as PNG. Sets the content's mime type and bytes
// (but for onlyDecoded), and with keepDecoded its pixels where they can be had.
ImageConversion convertImage(std::vector<uint8_t> source, const std::string& fileName, const TextureSearch& search) {
    ImageConversion conversion;
    auto content = std::make_shared<ImageContent>();
    const ImageFormat format = detectImageFormat(source, fileName);
    conversion.copied = format == ImageFormat::kPng || format == ImageFormat::kJpeg;
    if (conversion.copied) {
        conversion.reason = checkImageHeader(source, format);
        if (search.keepDecoded && conversion.reason.empty() && format == ImageFormat::kPng) {
            content->decoded = decodeImage(source, format).image.value_or(Image{});
        }
        content->mimeType = mimeTypeOf(format);
        content->bytes = std::move(source);
    } else if (format == ImageFormat::kUnknown) {
        conversion.reason = "not a PCX, BMP, TGA, PNG or JPEG image";
    } else if (DecodedImage decoded = decodeImage(source, format); !decoded.image) {
        conversion.reason = std::move(decoded.error);
    } else {
        content->mimeType = mimeTypeOf(ImageFormat::kPng);
        if (!search.onlyDecoded) {
            content->bytes = encodePng(*decoded.image);
        }
        if (search.keepDecoded) {
            content->decoded = std::move(*decoded.image);
        }
    }
    if (conversion.reason.empty()) {
        conversion.content = std::move(content);
    }
    return conversion;
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
std::string imageNameFor(const std::string& textureName, const FoundImage& found, const ImageConversion& conversion) {
    const std::string_view fileName = fileNamePart(textureName);
    const bool copied = conversion.copied;
    const std::string& mimeType = conversion.content->mimeType;
    if (mimeType == kPcxMimeType) {
        const std::string_view ending = fileName.substr(stemOf(fileName).size());
        return equalIgnoringAsciiCase(ending, ".pcx") ? std::string(fileName) : std::string(stemOf(fileName)) + ".pcx";
    }
    if (copied && !found.path.empty()) {
        return std::string(fileNamePart(found.path));
    }
    const std::string_view ending = copied && mimeType == mimeTypeOf(ImageFormat::kJpeg) ? ".jpg" : ".png";
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

// The image read and converted as the search asks.
ImageConversion convertFound(const FoundImage& image, const std::string& name, const TextureSearch& search) {
    std::vector<uint8_t> bytes;
    ImageConversion failed;
    if (image.bytes) {
        bytes = *image.bytes;
    } else if (failed.reason = readWholeFile(image.path, kLargestImageFile, bytes); !failed.reason.empty()) {
        return failed;
    }
    return search.pcx ? convertToPcx(std::move(bytes), name, search) : convertImage(std::move(bytes), name, search);
}

// What a conversion depends on besides the file (see ImageKey).
ImageKey keyOf(const FoundImage& image, const std::string& name, const TextureSearch& search) {
    const unsigned mode = (search.pcx ? 1u : 0u) | (search.keepDecoded ? 2u : 0u) | (search.onlyDecoded ? 4u : 0u);
    const std::string_view ending = std::string_view(name).substr(name.size() - std::min<size_t>(name.size(), 4));
    return {image.identity.device, image.identity.file, mode, asciiLowered(ending)};
}

// The conversion of a found image: from the run's cache for a file, made
// here for an image the model holds.
std::shared_ptr<const ImageConversion> conversionOf(const FoundImage& image, const std::string& name,
                                                    const TextureSearch& search, TextureCache& cache) {
    const auto convert = [&] { return convertFound(image, name, search); };
    if (image.bytes || image.identity == FileIdentity{}) {
        return std::make_shared<const ImageConversion>(convert());
    }
    return cache.conversion(keyOf(image, name, search), convert);
}

}  // namespace

TextureFiles prepareTextureFiles(const MeshStore& store, const TextureSearch& search,
                                 std::vector<TextureWarning>& warnings) {
    TextureCache ownCache;
    TextureCache& cache = search.cache != nullptr ? *search.cache : ownCache;
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
        const std::shared_ptr<const ImageConversion> conversion = conversionOf(image, name, search, cache);
        if (!conversion->content) {
            warnings.push_back({image.texture, name, conversion->reason,
                                image.bytes ? std::vector<std::string>{} : foldersFor(image.texture, search)});
            continue;
        }
        if (!conversion->note.empty()) {
            warnings.push_back({image.texture, name, conversion->note, {}});
        }
        TextureFile file{{}, conversion->content, false};
        file.fileName = names.claim(imageNameFor(name, image, *conversion),
                                    conversion->copied ? image.identity : FileIdentity{}, file.inPlace);
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
