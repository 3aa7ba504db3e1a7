#include "Mag5Writer.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Mag5Records.h"
#include "Mag5Vertices.h"
#include "os/PathText.h"
#include "textures/TextureFileOutput.h"

namespace zelvane {
namespace {

constexpr size_t kLongestName = 32;
constexpr uint32_t kUntextured = 0xFFFFFFFF;  // the file's -1

// The texture table: the names of the textures some group shows, in the
// store's order, and each store texture's number in it.
struct TextureTable {
    std::vector<std::string> names;
    std::vector<uint32_t> indexOf;  // per store texture number; the table's size for one without a name
};

std::optional<std::string> makeTable(const ModelOutput& model, TextureTable& table) {
    const MeshStore& store = model.store;
    std::vector<bool> shown(store.textures.size(), false);
    for (const auto& group : store.groups) {
        if (group.first.textured() && group.first.texture < shown.size()) {
            shown[group.first.texture] = true;
        }
    }
    table.indexOf.assign(store.textures.size(), 0);
    for (uint32_t texture = 0; texture < shown.size(); ++texture) {
        if (!shown[texture]) {
            continue;
        }
        const std::string& name = *imageReference(store, model.textures, texture);
        if (name.size() > kLongestName) {
            return "texture name " + name + " is longer than 32 bytes";
        }
        if (name.find('\0') != std::string::npos) {
            return "texture name " + name + " holds a NUL byte, which ends a name in a MAG5 file";
        }
        table.indexOf[texture] = static_cast<uint32_t>(table.names.size());
        table.names.push_back(name);
    }
    return std::nullopt;
}

uint32_t textureIndexOf(const Material& material, const TextureTable& table) {
    if (!material.textured()) {
        return kUntextured;
    }
    return material.texture < table.indexOf.size() ? table.indexOf[material.texture]
                                                   : static_cast<uint32_t>(table.names.size());
}

uint8_t colourByte(double channel) {
    if (!(channel > 0.0)) {
        return 0;
    }
    return channel >= 1.0 ? 255 : static_cast<uint8_t>(std::lround(channel * 255.0));
}

Mag5PolygonLook lookOf(const MeshStore& store, const Polygon& polygon, const TextureTable& table) {
    Mag5PolygonLook look;
    look.flat = isFlat(polygon);
    if (look.flat) {
        look.faceNormal = store.normals[polygon.normal[0]];
    }
    for (size_t channel = 0; channel < 4; ++channel) {
        look.colour[channel] = colourByte(polygon.material.colour[channel]);
    }
    look.textureIndex = textureIndexOf(polygon.material, table);
    return look;
}

void appendPolygons(OutputFile& file, const MeshStore& store, const Mag5Vertices& vertices,
                    const TextureTable& table) {
    std::array<float, 4> u{};
    std::array<float, 4> v{};
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        const Polygon polygon = store.polygons[index];
        for (uint32_t corner = 0; corner < polygon.cornerCount; ++corner) {
            const Vector3 texcoord =
                polygon.material.textured() ? store.texcoords[polygon.texcoord[corner]] : Vector3{0.0, 1.0, 0.0};
            u[corner] = static_cast<float>(texcoord.x);
            v[corner] = static_cast<float>(1.0 - texcoord.y);
        }
        appendMag5Polygon(file.text(), lookOf(store, polygon, table), polygon, vertices.cornerVertices(index), u, v);
        file.flushIfLarge();
    }
}

}  // namespace

bool writeMag5(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) {
    const MeshStore& store = model.store;
    const std::string path = model.basePath + ".mag";
    TextureTable table;
    if (std::optional<std::string> refusal = makeTable(model, table)) {
        return outputs.refuse(path, std::move(*refusal));
    }
    const Mag5Vertices vertices(store);
    constexpr size_t kLargestCount = std::numeric_limits<uint32_t>::max();
    if (vertices.vertices().size() > kLargestCount || store.polygons.size() > kLargestCount) {
        return outputs.refuse(path, "the model needs " + std::to_string(vertices.vertices().size()) +
                                        " vertices, more than a MAG5 file can count");
    }
    if (!writeTextureFiles(outputs, model.textures, std::string(folderPart(model.basePath)))) {
        return false;
    }
    OutputFile* file = outputs.create(path, FileMode::kBinary);
    if (file == nullptr) {
        return false;
    }
    appendMag5Header(file->text(), static_cast<uint32_t>(table.names.size()));
    for (const std::string& name : table.names) {
        appendMag5TextureName(file->text(), name);
    }
    appendMag5Counts(file->text(), static_cast<uint32_t>(vertices.vertices().size()),
                     static_cast<uint32_t>(store.polygons.size()));
    for (const Mag5Vertex& vertex : vertices.vertices()) {
        appendMag5Vertex(file->text(), store.positions[vertex.position], vertex.normal);
        file->flushIfLarge();
    }
    appendPolygons(*file, store, vertices, table);
    if (!outputs.close(*file)) {
        return false;
    }
    polygonCount(store.polygons.size());
    return true;
}

}  // namespace zelvane
