#include "GltfDocument.h"

#include <algorithm>
#include <cmath>

#include "text/JsonWriter.h"
#include "text/NumberFormat.h"
#include "text/UriText.h"

namespace zelvane {
namespace {

constexpr uint64_t kFloatComponents = 5126;
constexpr uint64_t kShortIndices = 5123;
constexpr uint64_t kIntIndices = 5125;
constexpr uint64_t kVertexTarget = 34962;
constexpr uint64_t kIndexTarget = 34963;
constexpr uint64_t kTriangles = 4;
constexpr uint64_t kNearest = 9728;
constexpr uint64_t kLinearMipmapLinear = 9987;
constexpr uint64_t kRepeat = 10497;
constexpr std::string_view kGenerator = "Zelvane " ZELVANE_VERSION;

// A colour channel as a glTF factor, which must lie in [0, 1].
double factorOf(double channel) {
    return std::isnan(channel) ? 0.0 : std::clamp(channel, 0.0, 1.0);
}

std::string materialName(const MeshStore& store, const Material& material) {
    const std::string* texture = store.textureName(material.texture);
    std::string name = !material.textured() ? "untextured" : texture != nullptr ? *texture : "unnamed texture";
    name += " #";
    for (const double channel : material.colour) {
        const auto byte = static_cast<size_t>(std::lround(factorOf(channel) * 255.0));
        name.push_back(kLowerHexDigits[byte >> 4]);
        name.push_back(kLowerHexDigits[byte & 0xF]);
    }
    return name;
}

void writeAsset(JsonWriter& json) {
    json.writeKey("asset");
    json.beginObject();
    json.writeStringMember("version", "2.0");
    json.writeStringMember("generator", kGenerator);
    json.endObject();
}

void writeScene(JsonWriter& json, bool hasMesh) {
    json.writeIntegerMember("scene", 0);
    json.writeKey("scenes");
    json.beginArray();
    json.beginObject();
    if (hasMesh) {
        json.writeKey("nodes");
        json.beginArray();
        json.writeInteger(0);
        json.endArray();
    }
    json.endObject();
    json.endArray();
    if (hasMesh) {
        json.writeKey("nodes");
        json.beginArray();
        json.beginObject();
        json.writeIntegerMember("mesh", 0);
        json.endObject();
        json.endArray();
    }
}

void writeAttributes(JsonWriter& json, bool textured) {
    json.writeKey("attributes");
    json.beginObject();
    json.writeIntegerMember("POSITION", 0);
    json.writeIntegerMember("NORMAL", 1);
    if (textured) {
        json.writeIntegerMember("TEXCOORD_0", 2);
    }
    json.endObject();
}

void writeMesh(JsonWriter& json, const GltfMesh& mesh, const GltfImages& images) {
    const uint64_t attributeCount = mesh.textured ? 3 : 2;
    json.writeKey("meshes");
    json.beginArray();
    json.beginObject();
    json.writeKey("primitives");
    json.beginArray();
    for (uint64_t primitive = 0; primitive < mesh.primitives.size(); ++primitive) {
        json.beginObject();
        writeAttributes(json, images.imageOfPrimitive[primitive] != GltfImages::kNone);
        json.writeIntegerMember("indices", attributeCount + primitive);
        json.writeIntegerMember("material", primitive);
        json.writeIntegerMember("mode", kTriangles);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.endArray();
}

void writeMaterial(JsonWriter& json, const MeshStore& store, const Material& material, uint32_t image) {
    json.beginObject();
    json.writeStringMember("name", materialName(store, material));
    json.writeKey("pbrMetallicRoughness");
    json.beginObject();
    json.writeKey("baseColorFactor");
    json.beginArray();
    for (size_t channel = 0; channel < 3; ++channel) {
        json.writeNumber(factorOf(material.colour[channel]));
    }
    json.writeNumber(1.0);
    json.endArray();
    if (image != GltfImages::kNone) {
        json.writeKey("baseColorTexture");
        json.beginObject();
        json.writeIntegerMember("index", image);
        json.endObject();
    }
    json.writeNumberMember("metallicFactor", 0.0);
    json.writeNumberMember("roughnessFactor", 1.0);
    json.endObject();
    json.writeKey("extras");
    json.beginObject();
    json.writeNumberMember("colourChannel4", material.colour[3]);
    json.endObject();
    json.endObject();
}

// A material per primitive.
void writeMaterials(JsonWriter& json, const MeshStore& store, const GltfMesh& mesh, const GltfImages& images) {
    json.writeKey("materials");
    json.beginArray();
    for (size_t primitive = 0; primitive < mesh.primitives.size(); ++primitive) {
        writeMaterial(json, store, mesh.primitives[primitive].group->first, images.imageOfPrimitive[primitive]);
    }
    json.endArray();
}

void writeSampler(JsonWriter& json) {
    json.writeKey("samplers");
    json.beginArray();
    json.beginObject();
    json.writeIntegerMember("magFilter", kNearest);
    json.writeIntegerMember("minFilter", kLinearMipmapLinear);
    json.writeIntegerMember("wrapS", kRepeat);
    json.writeIntegerMember("wrapT", kRepeat);
    json.endObject();
    json.endArray();
}

// A texture per image, each with the one sampler.
void writeTextures(JsonWriter& json, size_t imageCount) {
    json.writeKey("textures");
    json.beginArray();
    for (uint64_t image = 0; image < imageCount; ++image) {
        json.beginObject();
        json.writeIntegerMember("sampler", 0);
        json.writeIntegerMember("source", image);
        json.endObject();
    }
    json.endArray();
}

void writeImages(JsonWriter& json, const GltfImages& images, const GltfBufferLayout& layout) {
    const uint64_t firstImageView = 1 + layout.primitives.size();
    json.writeKey("images");
    json.beginArray();
    for (uint64_t image = 0; image < images.files.size(); ++image) {
        const TextureFile& file = *images.files[image];
        json.beginObject();
        json.writeStringMember("name", file.fileName);
        if (layout.images.empty()) {
            json.writeStringMember("uri", fileNameUri(file.fileName));
        } else {
            json.writeIntegerMember("bufferView", firstImageView + image);
        }
        json.writeStringMember("mimeType", file.mimeType());
        json.endObject();
    }
    json.endArray();
}

void writeVector(JsonWriter& json, std::string_view name, const std::array<float, 3>& vector) {
    json.writeKey(name);
    json.beginArray();
    for (const float component : vector) {
        json.writeNumber(component);  // exactly the float: reads back as it in any precision
    }
    json.endArray();
}

void writeVertexAccessor(JsonWriter& json, size_t offset, std::string_view type, uint64_t count) {
    json.writeIntegerMember("bufferView", 0);
    json.writeIntegerMember("byteOffset", offset);
    json.writeIntegerMember("componentType", kFloatComponents);
    json.writeIntegerMember("count", count);
    json.writeStringMember("type", type);
}

void writeAccessors(JsonWriter& json, const GltfMesh& mesh, const GltfBufferLayout& layout) {
    json.writeKey("accessors");
    json.beginArray();
    json.beginObject();
    writeVertexAccessor(json, GltfBufferLayout::kPositionOffset, "VEC3", mesh.vertexCount);
    writeVector(json, "min", mesh.minimum);
    writeVector(json, "max", mesh.maximum);
    json.endObject();
    json.beginObject();
    writeVertexAccessor(json, GltfBufferLayout::kNormalOffset, "VEC3", mesh.vertexCount);
    json.endObject();
    if (mesh.textured) {
        json.beginObject();
        writeVertexAccessor(json, GltfBufferLayout::kTexcoordOffset, "VEC2", mesh.vertexCount);
        json.endObject();
    }
    size_t start = 0;
    for (uint64_t primitive = 0; primitive < mesh.primitives.size(); ++primitive) {
        const size_t end = mesh.primitives[primitive].indicesEnd;
        json.beginObject();
        json.writeIntegerMember("bufferView", 1 + primitive);
        json.writeIntegerMember("componentType", layout.shortIndices ? kShortIndices : kIntIndices);
        json.writeIntegerMember("count", end - start);
        json.writeStringMember("type", "SCALAR");
        json.endObject();
        start = end;
    }
    json.endArray();
}

void writeView(JsonWriter& json, const GltfBufferLayout::Part& part, uint64_t stride, uint64_t target) {
    json.beginObject();
    json.writeIntegerMember("buffer", 0);
    json.writeIntegerMember("byteOffset", part.offset);
    json.writeIntegerMember("byteLength", part.length);
    if (stride != 0) {
        json.writeIntegerMember("byteStride", stride);
    }
    if (target != 0) {
        json.writeIntegerMember("target", target);
    }
    json.endObject();
}

void writeBuffer(JsonWriter& json, const GltfBufferLayout& layout, const std::string& fileName) {
    json.writeKey("bufferViews");
    json.beginArray();
    writeView(json, layout.vertices, layout.vertexStride, kVertexTarget);
    for (const GltfBufferLayout::Part& part : layout.primitives) {
        writeView(json, part, 0, kIndexTarget);
    }
    for (const GltfBufferLayout::Part& part : layout.images) {
        writeView(json, part, 0, 0);
    }
    json.endArray();
    json.writeKey("buffers");
    json.beginArray();
    json.beginObject();
    json.writeIntegerMember("byteLength", layout.length);
    if (!fileName.empty()) {
        json.writeStringMember("uri", fileNameUri(fileName));
    }
    json.endObject();
    json.endArray();
}

}  // namespace

void appendGltfDocument(TextBuffer& out, const GltfDocumentParts& parts) {
    JsonWriter json(out);
    const bool hasMesh = parts.mesh.vertexCount > 0;
    json.beginObject();
    writeAsset(json);
    writeScene(json, hasMesh);
    if (hasMesh) {
        writeMesh(json, parts.mesh, parts.images);
        writeMaterials(json, parts.store, parts.mesh, parts.images);
        if (!parts.images.files.empty()) {
            writeTextures(json, parts.images.files.size());
            writeImages(json, parts.images, parts.layout);
            writeSampler(json);
        }
        writeAccessors(json, parts.mesh, parts.layout);
        writeBuffer(json, parts.layout, parts.bufferFileName);
    }
    json.endObject();
}

}  // namespace zelvane
