#include "GltfMaterials.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>

#include "GltfFiles.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

constexpr double kColourScale = 0.00392156862745098;  // the double closest to 1/255, as MAG5 colours are read
constexpr std::string_view kUntextured = "untextured";
constexpr std::string_view kUnnamedTexture = "unnamed texture";

// What a material's name says when it is of the form this converter
// writes: the texture's name and the colour's four bytes.
struct NamedMaterial {
    std::string texture;
    std::array<uint8_t, 4> colour{};
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Blender names a second material of one name "name.001".
std::string_view withoutCopyNumber(std::string_view name) {
    const size_t dot = name.size() >= 4 ? name.size() - 4 : std::string_view::npos;
    if (dot == std::string_view::npos || name[dot] != '.') {
        return name;
    }
    for (size_t k = dot + 1; k < name.size(); ++k) {
        if (name[k] < '0' || name[k] > '9') {
            return name;
        }
    }
    return name.substr(0, dot);
}

std::optional<NamedMaterial> parseMaterialName(std::string_view name) {
    name = withoutCopyNumber(name);
    constexpr size_t kSuffix = 10;  // " #rrggbbaa"
    if (name.size() < kSuffix || name[name.size() - kSuffix] != ' ' || name[name.size() - kSuffix + 1] != '#') {
        return std::nullopt;
    }
    NamedMaterial named;
    named.texture = std::string(name.substr(0, name.size() - kSuffix));
    for (size_t channel = 0; channel < 4; ++channel) {
        const size_t at = name.size() - 8 + 2 * channel;
        const int high = hexDigit(name[at]);
        const int low = hexDigit(name[at + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        named.colour[channel] = static_cast<uint8_t>(high * 16 + low);
    }
    return named;
}

// An image's name with ".pcx" in place of an image file's ending, or added.
std::string pcxNameOf(std::string_view name) {
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        const std::string ending = asciiLowered(name.substr(dot));
        for (const std::string_view image : {".png", ".jpg", ".jpeg", ".bmp", ".tga", ".pcx"}) {
            if (ending == image) {
                return std::string(name.substr(0, dot)) + ".pcx";
            }
        }
    }
    return std::string(name) + ".pcx";
}

class MaterialReading {
public:
    MaterialReading(const tinygltf::Model& model, MeshStore& store, ModelRead& read)
        : model_(model), store_(store), read_(read) {}

    std::optional<Material> material(size_t number, std::string& error) {
        const tinygltf::Material& source = model_.materials[number];
        const std::optional<NamedMaterial> named = parseMaterialName(source.name);
        Material material;
        const std::vector<double>& factor = source.pbrMetallicRoughness.baseColorFactor;
        for (size_t channel = 0; channel < 3; ++channel) {
            material.colour[channel] = channel < factor.size() ? factor[channel] : 1.0;
        }
        material.colour[3] = fourthChannel(source);
        if (named) {
            for (size_t channel = 0; channel < 4; ++channel) {
                const double byte = named->colour[channel];
                if (std::lround(material.colour[channel] * 255.0) == std::lround(byte)) {
                    material.colour[channel] = byte * kColourScale;
                }
            }
        }
        const int texture = source.pbrMetallicRoughness.baseColorTexture.index;
        if (texture < 0) {
            return material;
        }
        const std::optional<int> image = imageOf(texture, number, error);
        if (!image) {
            return std::nullopt;
        }
        const bool namedTexture = named && named->texture != kUntextured && named->texture != kUnnamedTexture;
        material.texture = addTexture(namedTexture ? named->texture : std::string(), *image);
        return material;
    }

private:
    double fourthChannel(const tinygltf::Material& source) const {
        const std::optional<NamedMaterial> named = parseMaterialName(source.name);
        if (source.extras.Has("colourChannel4") && source.extras.Get("colourChannel4").IsNumber()) {
            return source.extras.Get("colourChannel4").GetNumberAsDouble();
        }
        return named ? named->colour[3] * kColourScale : 1.0;
    }

    std::optional<int> imageOf(int texture, size_t material, std::string& error) const {
        if (static_cast<size_t>(texture) >= model_.textures.size()) {
            error = "material " + std::to_string(material) + " refers to texture " + std::to_string(texture) +
                    ", but the file has " + std::to_string(model_.textures.size()) + " textures";
            return std::nullopt;
        }
        const int image = model_.textures[static_cast<size_t>(texture)].source;
        if (image < 0 || static_cast<size_t>(image) >= model_.images.size()) {
            error = "texture " + std::to_string(texture) + " refers to image " + std::to_string(image) +
                    ", but the file has " + std::to_string(model_.images.size()) + " images";
            return std::nullopt;
        }
        return image;
    }

    // The store texture for an image, named name or, when that is empty,
    // after the image; notes where its bytes are.
    uint32_t addTexture(std::string name, int imageNumber) {
        const tinygltf::Image& image = model_.images[static_cast<size_t>(imageNumber)];
        const bool external = image.bufferView < 0 && !image.uri.empty() && !tinygltf::IsDataURI(image.uri);
        TextureSource source;
        if (external) {
            source.lookupName = percentDecoded(image.uri);
        } else {
            source.bytes = embeddedBytes(image);
        }
        if (name.empty()) {
            name = external ? source.lookupName
                            : pcxNameOf(image.name.empty() ? "image" + std::to_string(imageNumber) : image.name);
        }
        const uint32_t texture = store_.addTexture(name);
        if (source.lookupName == name) {
            source.lookupName.clear();
        }
        read_.textureSources.try_emplace(texture, std::move(source));
        return texture;
    }

    // The bytes of an image the file holds, in a data URI or a buffer view;
    // none for a buffer view that reaches beyond its buffer, which then
    // reads as no image at all.
    std::shared_ptr<const std::vector<uint8_t>> embeddedBytes(const tinygltf::Image& image) const {
        if (image.bufferView < 0) {
            return std::make_shared<const std::vector<uint8_t>>(image.image.begin(), image.image.end());
        }
        const auto none = std::make_shared<const std::vector<uint8_t>>();
        if (static_cast<size_t>(image.bufferView) >= model_.bufferViews.size()) {
            return none;
        }
        const tinygltf::BufferView& view = model_.bufferViews[static_cast<size_t>(image.bufferView)];
        if (view.buffer < 0 || static_cast<size_t>(view.buffer) >= model_.buffers.size()) {
            return none;
        }
        const std::vector<unsigned char>& buffer = model_.buffers[static_cast<size_t>(view.buffer)].data;
        if (view.byteOffset > buffer.size() || view.byteLength > buffer.size() - view.byteOffset) {
            return none;
        }
        const auto first = buffer.begin() + static_cast<ptrdiff_t>(view.byteOffset);
        return std::make_shared<const std::vector<uint8_t>>(first, first + static_cast<ptrdiff_t>(view.byteLength));
    }

    const tinygltf::Model& model_;
    MeshStore& store_;
    ModelRead& read_;
};

}  // namespace

std::vector<Material> readMaterials(const tinygltf::Model& model, MeshStore& store, ModelRead& read,
                                    std::string& error) {
    MaterialReading reading(model, store, read);
    std::vector<Material> materials;
    for (size_t number = 0; number < model.materials.size(); ++number) {
        const std::optional<Material> material = reading.material(number, error);
        if (!material) {
            return {};
        }
        materials.push_back(*material);
    }
    materials.push_back(Material{kTextureNone, {1.0, 1.0, 1.0, 1.0}});
    return materials;
}

}  // namespace zelvane
