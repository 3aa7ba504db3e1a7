// glTF documents read into the store: the triangles their scenes place, in
// every layout an accessor may have, the materials this converter names
// and others', and hostile documents refused before anything is read out
// of bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Files.h"
#include "TempFolder.h"
#include "readers/GltfReader.h"

namespace zelvane {
namespace {

using json = nlohmann::json;
using test::TempFolder;

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const uint32_t group = uint32_t{bytes[at]} << 16 | (at + 1 < bytes.size() ? uint32_t{bytes[at + 1]} << 8 : 0) |
                               (at + 2 < bytes.size() ? bytes[at + 2] : 0);
        for (size_t k = 0; k < 4; ++k) {
            text += k <= (bytes.size() - at) ? digits[group >> (18 - 6 * k) & 63] : '=';
        }
    }
    return text;
}

// A document being built: one buffer, held in a data URI, with a view per
// accessor.
class Document {
public:
    Document() {
        doc_ = {{"asset", {{"version", "2.0"}}}, {"scene", 0}, {"scenes", {{{"nodes", {0}}}}},
                {"nodes", {{{"mesh", 0}}}}, {"meshes", {{{"primitives", json::array()}}}},
                {"accessors", json::array()}, {"bufferViews", json::array()}};
    }

    // Floats as an accessor of type ("VEC3", "VEC2").
    int floats(const std::vector<float>& values, const std::string& type) {
        const size_t start = append(values.data(), values.size() * 4);
        const size_t perElement = type == "VEC3" ? 3 : 2;
        return accessor(start, values.size() * 4, 5126, type, values.size() / perElement);
    }
    int shorts(const std::vector<uint16_t>& values) {
        const size_t start = append(values.data(), values.size() * 2);
        return accessor(start, values.size() * 2, 5123, "SCALAR", values.size());
    }
    json& primitive(json attributes, int indices = -1) {
        json p = {{"attributes", std::move(attributes)}};
        if (indices >= 0) {
            p["indices"] = indices;
        }
        doc_["meshes"][0]["primitives"].push_back(p);
        return doc_["meshes"][0]["primitives"].back();
    }
    json& doc() { return doc_; }
    std::string text() {
        doc_["buffers"] = {{{"byteLength", bytes_.size()},
                            {"uri", "data:application/octet-stream;base64," + base64(bytes_)}}};
        return doc_.dump();
    }

private:
    size_t append(const void* data, size_t size) {
        const size_t start = bytes_.size();
        bytes_.resize(start + size);
        std::memcpy(bytes_.data() + start, data, size);
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
        return start;
    }
    int accessor(size_t start, size_t length, int componentType, const std::string& type, size_t count) {
        doc_["bufferViews"].push_back({{"buffer", 0}, {"byteOffset", start}, {"byteLength", length}});
        doc_["accessors"].push_back({{"bufferView", doc_["bufferViews"].size() - 1},
                                     {"componentType", componentType},
                                     {"type", type},
                                     {"count", count}});
        return static_cast<int>(doc_["accessors"].size() - 1);
    }

    json doc_;
    std::vector<uint8_t> bytes_;
};

const std::vector<float> kQuadPositions{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};

ModelRead readText(const TempFolder& folder, const std::string& text, MeshStore& store) {
    return readGltfModel(folder.file("m.gltf"), {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, store);
}

TEST(GltfReader, ZelvanesMaterialsGiveBackTheirTextureNameAndColourBytes) {
    TempFolder folder;
    Document document;
    const int positions = document.floats(kQuadPositions, "VEC3");
    const int texcoords = document.floats({0, 0, 1, 0, 1, 0.25f, 0, 1}, "VEC2");
    document.primitive({{"POSITION", positions}, {"TEXCOORD_0", texcoords}}, document.shorts({0, 1, 2}))["material"] = 0;
    document.doc()["materials"] = {
        {{"name", "brick.pcx #8021ff40.001"},
         {"pbrMetallicRoughness", {{"baseColorFactor", {128 / 255.0, 33 / 255.0, 1.0, 1.0}},
                                   {"baseColorTexture", {{"index", 0}}}}},
         {"extras", {{"colourChannel4", 64 / 255.0}}}}};
    document.doc()["textures"] = {{{"source", 0}}};
    document.doc()["images"] = {{{"name", "brick.png"}, {"uri", "data:image/png;base64,iVBORw0KGgo="}}};
    MeshStore store;
    const ModelRead read = readText(folder, document.text(), store);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(store.polygons.size(), 1u);
    const Polygon triangle = store.polygons[0];
    EXPECT_EQ(store.textures[triangle.material.texture], "brick.pcx");
    // The bytes as a MAG5 file gives them: byte times the double nearest 1/255.
    EXPECT_EQ(triangle.material.colour[1], 33 * 0.00392156862745098);
    EXPECT_EQ(triangle.material.colour[3], 64 * 0.00392156862745098);
    EXPECT_EQ(store.texcoords[triangle.texcoord[2]].y, 0.75);  // counted from the image's bottom in the store
    const TextureSource& source = read.textureSources.at(triangle.material.texture);
    ASSERT_TRUE(source.bytes);
    EXPECT_EQ(source.bytes->size(), 8u);
    EXPECT_EQ(store.normals[triangle.normal[0]].z, 1.0);  // no normals given: the triangle's own
}

TEST(GltfReader, OtherMaterialsNameTheirTexturesAfterTheirImages) {
    struct Case {
        json image;
        std::string textureName;
        std::string lookupName;
    };
    const std::vector<Case> cases{
        {{{"uri", "tex/wood%20grain.png"}}, "tex/wood grain.png", ""},
        {{{"name", "stone.PNG"}, {"uri", "data:image/png;base64,AAAA"}}, "stone.pcx", ""},
        {{{"name", "stone"}, {"uri", "data:image/png;base64,AAAA"}}, "stone.pcx", ""},
        {{{"uri", "data:image/png;base64,AAAA"}}, "image0.pcx", ""},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        Document document;
        const int positions = document.floats(kQuadPositions, "VEC3");
        document.primitive({{"POSITION", positions}})["material"] = 0;
        document.doc()["materials"] = {
            {{"name", "Material.001"}, {"pbrMetallicRoughness", {{"baseColorTexture", {{"index", 0}}}}}}};
        document.doc()["textures"] = {{{"source", 0}}};
        document.doc()["images"] = {c.image};
        MeshStore store;
        const ModelRead read = readText(folder, document.text(), store);
        ASSERT_EQ(read.error, "") << c.textureName;
        const Polygon polygon = store.polygons[0];
        EXPECT_EQ(store.textures[polygon.material.texture], c.textureName);
        EXPECT_EQ(polygon.material.colour, (std::array<double, 4>{1, 1, 1, 1}));
    }
}

// Strips turn every other triangle to keep them facing one way, fans
// share their first vertex; nodes place their meshes, and their children
// theirs within them.
TEST(GltfReader, StripsFansAndPlacedNodes) {
    TempFolder folder;
    Document document;
    const int positions = document.floats(kQuadPositions, "VEC3");
    const int normals = document.floats({0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    document.primitive({{"POSITION", positions}, {"NORMAL", normals}})["mode"] = 5;
    document.primitive({{"POSITION", positions}}, document.shorts({0, 1, 2, 3}))["mode"] = 6;
    document.doc()["nodes"] = {{{"translation", {10, 0, 0}}, {"children", {1}}},
                               {{"mesh", 0}, {"scale", {2, 2, 2}}, {"rotation", {0, 0.7071067811865476, 0, 0.7071067811865476}}}};
    MeshStore store;
    const ModelRead read = readText(folder, document.text(), store);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(store.polygons.size(), 4u);
    EXPECT_EQ(read.triangles, 4u);
    const Polygon second = store.polygons[1];  // vertices 2 1 3 of the strip
    EXPECT_EQ(second.vertex[0] % 4, 2u);
    EXPECT_EQ(second.vertex[1] % 4, 1u);
    const Polygon lastOfFan = store.polygons[3];  // vertices 0 2 3
    EXPECT_EQ(lastOfFan.vertex[1] % 4, 2u);
    // (1, 0, 0) scaled by 2, turned a quarter about y to (0, 0, -2), moved by 10 in x.
    const Vector3 moved = store.positions[1];
    EXPECT_NEAR(moved.x, 10.0, 1e-12);
    EXPECT_NEAR(moved.z, -2.0, 1e-12);
    const Vector3 turnedNormal = store.normals[store.polygons[0].normal[0]];  // (0, 0, 1) turned to (1, 0, 0)
    EXPECT_NEAR(turnedNormal.x, 1.0, 1e-12);
    EXPECT_NEAR(std::hypot(turnedNormal.x, turnedNormal.y, turnedNormal.z), 1.0, 1e-12);
}

// What makes a document unreadable, each with its own words, and nothing
// read out of bounds on the way (the sanitizer build runs these too).
TEST(GltfReader, HostileDocumentsAreRefused) {
    struct Case {
        std::string name;
        std::function<void(Document&)> spoil;
        std::string words;  // the start of the error
    };
    const std::vector<Case> cases{
        {"accessor beyond its view", [](Document& d) { d.doc()["accessors"][0]["count"] = 4000000000u; },
         "accessor 0 reaches beyond its buffer"},
        {"view beyond its buffer", [](Document& d) { d.doc()["bufferViews"][0]["byteLength"] = 1u << 30; },
         "accessor 0 reaches beyond its buffer"},
        {"offset beyond its view", [](Document& d) { d.doc()["accessors"][0]["byteOffset"] = 44; },
         "accessor 0 reaches beyond its buffer"},
        {"index beyond the vertices", [](Document& d) { d.primitive({{"POSITION", 0}}, d.shorts({0, 1, 7})); },
         "a primitive refers to vertex 7, but it has 4 vertices"},
        {"no positions", [](Document& d) { d.primitive({{"NORMAL", 0}}); }, "a primitive has no positions"},
        {"points", [](Document& d) { d.primitive({{"POSITION", 0}})["mode"] = 0; },
         "a primitive of points or lines (mode 0) cannot be converted"},
        {"positions of shorts", [](Document& d) { d.primitive({{"POSITION", d.shorts({1, 2, 3})}}); },
         "accessor 1 holds elements of a type that does not fit its use"},
        {"sparse", [](Document& d) { d.doc()["accessors"][0]["sparse"] = {{"count", 1}}; },
         "not a readable glTF file: "},
        {"a loop of nodes", [](Document& d) { d.doc()["nodes"] = {{{"children", {1}}}, {{"children", {0}}}}; },
         "node 0 is reached twice"},
        {"a mesh that is not there", [](Document& d) { d.doc()["nodes"][0]["mesh"] = 3; },
         "a node refers to mesh 3, but the file has 1 meshes"},
        {"a material that is not there", [](Document& d) { d.doc()["meshes"][0]["primitives"][0]["material"] = 2; },
         "a primitive refers to material 2, but the file has 0 materials"},
        {"an extension it needs", [](Document& d) { d.doc()["extensionsRequired"] = {"KHR_draco_mesh_compression"}; },
         "needs the glTF extension KHR_draco_mesh_compression"},
        {"a buffer in the folder above", [](Document& d) { d.doc()["buffers"] = {{{"byteLength", 48}, {"uri", "../m.bin"}}}; },
         "buffer ../m.bin: "},
        {"a buffer by absolute path", [](Document& d) { d.doc()["buffers"] = {{{"byteLength", 48}, {"uri", "/etc/passwd"}}}; },
         "buffer /etc/passwd: "},
        {"a buffer that is not there", [](Document& d) { d.doc()["buffers"] = {{{"byteLength", 48}, {"uri", "none.bin"}}}; },
         "buffer none.bin: not found"},
        {"a position that is not a number", [](Document& d) { d.primitive({{"POSITION", d.floats({0, 0, NAN, 1, 0, 0, 0, 1, 0}, "VEC3")}}); },
         "vertex 4 has a position that is not a finite number"},
        {"a mesh placed too often", [](Document& d) {
             d.doc()["nodes"] = {{{"children", json::array()}}};
             for (int k = 1; k <= 2000; ++k) {
                 d.doc()["nodes"][0]["children"].push_back(k);
                 d.doc()["nodes"].push_back({{"mesh", 0}});
             }
             d.primitive({{"POSITION", 0}}, d.shorts(std::vector<uint16_t>(3000, 1)));
         },
         "the scene places its meshes more often"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        Document document;
        document.primitive({{"POSITION", document.floats(kQuadPositions, "VEC3")}});
        std::string text;
        if (c.name.starts_with("a buffer")) {
            text = document.text();
            c.spoil(document);
            text = document.doc().dump();
        } else {
            c.spoil(document);
            text = document.text();
        }
        MeshStore store;
        const ModelRead read = readText(folder, text, store);
        EXPECT_EQ(read.error.rfind(c.words, 0), 0u) << c.name << ": " << read.error;
    }
}

TEST(GltfReader, CutBinaryFilesAreRefused) {
    TempFolder folder;
    Document document;
    document.primitive({{"POSITION", document.floats(kQuadPositions, "VEC3")}});
    std::string text = document.text();
    while (text.size() % 4 != 0) {
        text += ' ';
    }
    std::vector<uint8_t> glb(20);
    std::memcpy(glb.data(), "glTF", 4);
    const uint32_t header[] = {2, static_cast<uint32_t>(20 + text.size()), static_cast<uint32_t>(text.size()), 0x4E4F534A};
    std::memcpy(glb.data() + 4, header, sizeof header);
    glb.insert(glb.end(), text.begin(), text.end());
    for (size_t length = 0; length < glb.size(); length += 7) {
        const std::vector<uint8_t> cut(glb.begin(), glb.begin() + static_cast<ptrdiff_t>(length));
        MeshStore store;
        EXPECT_NE(readGltfModel(folder.file("m.glb"), cut, store).error, "") << length;
    }
    MeshStore store;
    EXPECT_EQ(readGltfModel(folder.file("m.glb"), glb, store).error, "");
}

}  // namespace
}  // namespace zelvane
