// Models out of MAG5 and back: through OBJ with its MTL, and through glTF.
// Hundreds of random models go each way with the built converter; what
// comes back is compared, polygon by polygon and corner by corner, with
// what went out. What the formats cannot carry is stated where it is left
// out of the comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Files.h"
#include "Mag5Reading.h"
#include "ObjFaces.h"
#include "RoundTripModels.h"
#include "TempFolder.h"
#include "TinyPng.h"

namespace zelvane::test {
namespace {

constexpr uint32_t kModels = 300;

CommandResult runZelvane(const TempFolder& folder, const std::vector<std::string>& arguments) {
    return runProgram(ZELVANE_BIN, arguments, folder.path());
}

std::string modelName(uint32_t seed) {
    std::string name = std::to_string(seed);
    name.insert(0, 1, 'm');
    return name;
}

// The models, written by the tools' MAG5 writer into folder/models.
std::vector<Mag5ModelSpec> writeModels(const TempFolder& folder) {
    std::filesystem::create_directories(folder.file("models"));
    std::vector<Mag5ModelSpec> models;
    for (uint32_t seed = 0; seed < kModels; ++seed) {
        models.push_back(randomRoundTripModel(seed));
        saveModel(models.back(), folder.file("models/" + modelName(seed) + ".mag"));
    }
    return models;
}

std::vector<std::string> filesOf(const TempFolder& folder, const std::string& subfolder, const std::string& ending) {
    std::vector<std::string> paths;
    for (uint32_t seed = 0; seed < kModels; ++seed) {
        paths.push_back(subfolder + "/" + modelName(seed) + ending);
    }
    (void)folder;
    return paths;
}

void convertEach(const TempFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--each");
    const CommandResult run = runZelvane(folder, arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_NE(run.err.find("converted " + std::to_string(kModels) + " of " + std::to_string(kModels) + " models"),
              std::string::npos)
        << run.err;
}

// Appends a blank and the number, exactly.
void appendNumber(std::string& key, double value) {
    char text[32];
    std::snprintf(text, sizeof text, " %.17g", value);
    key += text;
}

// A face of an OBJ file as text: its material's colour and image, and each
// corner's values, in order.
std::string faceKey(const ReadFace& face) {
    std::string key;
    if (face.material) {
        for (const double channel : face.material->diffuse) {
            appendNumber(key, channel);
        }
        key += " [";
        key += face.material->diffuseTexture;
        key += ']';
    }
    for (const ReadCorner& corner : face.corners) {
        key += " |";
        for (const double value : corner.position) appendNumber(key, value);
        key += " n";
        for (const double value : corner.normal) appendNumber(key, value);
        if (corner.texcoord) {
            key += " t";
            appendNumber(key, (*corner.texcoord)[0]);
            appendNumber(key, (*corner.texcoord)[1]);
        }
    }
    return key;
}

std::vector<std::string> faceKeys(const std::string& objPath) {
    const ObjReading reading = readObj(objPath);
    EXPECT_EQ(reading.error, "") << objPath;
    std::vector<std::string> keys;
    for (const ReadFace& face : reading.faces) {
        keys.push_back(faceKey(face));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// The distinct v, vt and vn lines of an OBJ file.
std::set<std::string> valueLines(const std::string& objPath) {
    std::set<std::string> lines;
    for (const std::string& line : splitLines(readFile(objPath))) {
        if (line.starts_with("v ") || line.starts_with("vt ") || line.starts_with("vn ")) {
            lines.insert(line);
        }
    }
    return lines;
}

// MAG5 -> OBJ -> MAG5 -> OBJ: the second OBJ file holds the same faces as
// the first, each with the same corner values, material colour and image
// name, and no value that the first does not hold. Not compared, as the
// formats cannot carry them: the colour's fourth channel (MTL has none),
// the uninterpreted fields, the polygons' order (OBJ sorts them by
// material), group names, and values no polygon uses (a MAG5 file is
// written with the vertices its polygons use).
TEST(RoundTrip, ThroughObjTheSameFacesComeBack) {
    TempFolder folder;
    writeModels(folder);
    convertEach(folder, {"models", "--output-dir", "first"});
    std::vector<std::string> objects = filesOf(folder, "first", ".obj");
    objects.insert(objects.end(), {"--mag5", "--output-dir", "game"});
    convertEach(folder, objects);
    convertEach(folder, {"game", "--output-dir", "second"});
    size_t faces = 0;
    for (uint32_t seed = 0; seed < kModels; ++seed) {
        const std::string first = folder.file("first/" + modelName(seed) + ".obj");
        const std::string second = folder.file("second/" + modelName(seed) + ".obj");
        const std::vector<std::string> firstFaces = faceKeys(first);
        EXPECT_EQ(faceKeys(second), firstFaces) << "model " << seed;
        const std::set<std::string> firstValues = valueLines(first);
        for (const std::string& line : valueLines(second)) {
            EXPECT_TRUE(firstValues.count(line)) << "model " << seed << ": a value the first OBJ lacks: " << line;
        }
        const Mag5Reading written = readMag5(folder.file("game/" + modelName(seed) + ".mag"));
        EXPECT_EQ(written.error, "") << "model " << seed;
        EXPECT_TRUE(written.reservedAllZero) << "model " << seed;
        faces += firstFaces.size();
    }
    EXPECT_GT(faces, kModels * 10);
}

// A corner of a triangle as the MAG5 files give it; the normal apart, as
// glTF keeps normals at unit length in floats.
struct TriangleCorner {
    std::array<float, 3> position{};
    std::array<double, 3> normal{};
    std::array<float, 2> texcoord{};
};

struct Triangle {
    std::string material;  // texture name and colour bytes
    std::array<TriangleCorner, 3> corners;

    std::string key() const {
        std::string text = material;
        for (const TriangleCorner& corner : corners) {
            for (const float value : corner.position) appendNumber(text, value);
            text += " t";
            appendNumber(text, corner.texcoord[0]);
            appendNumber(text, corner.texcoord[1]);
        }
        return text;
    }
};

std::string materialOf(const std::optional<std::string>& texture, const std::array<uint8_t, 4>& colour) {
    std::string text = "untextured";
    if (texture) {
        text = '[';
        text += *texture;
        text += ']';
    }
    for (const uint8_t channel : colour) {
        appendNumber(text, channel);
    }
    return text;
}

// The triangles of a polygon (a quad as 0 1 2 and 0 2 3) that have three
// different positions: glTF leaves out triangles without area.
void addTriangles(const Mag5ReadPolygon& polygon, std::vector<Triangle>& triangles) {
    for (size_t last = 2; last < polygon.corners.size(); ++last) {
        Triangle triangle{materialOf(polygon.texture, polygon.colour), {}};
        const std::array<size_t, 3> corners{0, last - 1, last};
        for (size_t k = 0; k < 3; ++k) {
            const Mag5ReadCorner& corner = polygon.corners[corners[k]];
            triangle.corners[k] = {corner.position, corner.normal,
                                   polygon.texture ? std::array<float, 2>{corner.u, corner.v}
                                                   : std::array<float, 2>{}};
        }
        const auto& c = triangle.corners;
        if (c[0].position != c[1].position && c[1].position != c[2].position && c[0].position != c[2].position) {
            triangles.push_back(triangle);
        }
    }
}

std::vector<Triangle> trianglesOf(const Mag5Reading& file) {
    std::vector<Triangle> triangles;
    for (const Mag5ReadPolygon& polygon : file.polygons) {
        addTriangles(polygon, triangles);
    }
    std::sort(triangles.begin(), triangles.end(), [](const Triangle& a, const Triangle& b) { return a.key() < b.key(); });
    return triangles;
}

void writeTextureImages(const TempFolder& folder, const std::vector<Mag5ModelSpec>& models) {
    std::set<std::string> names;
    for (const Mag5ModelSpec& model : models) {
        names.insert(model.textures.begin(), model.textures.end());
    }
    uint8_t shade = 10;
    for (std::string name : names) {
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::filesystem::path path = folder.file("models/" + name);
        std::filesystem::create_directories(path.parent_path());
        writeFile(path.string(), solidPng(2, 2, {shade, 100, 200}));
        shade = static_cast<uint8_t>(shade + 40);
    }
}

// MAG5 -> .glb -> MAG5: the same triangles come back (a quad as two, one
// without area left out, as glTF writes none), with the same positions and
// texture coordinates, texture names and all four colour bytes, and the same
// normals at unit length. Polygons come back in the glTF file's order, by
// material.
TEST(RoundTrip, ThroughGlbTheSameTrianglesComeBack) {
    TempFolder folder;
    const std::vector<Mag5ModelSpec> models = writeModels(folder);
    writeTextureImages(folder, models);
    convertEach(folder, {"models", "--glb", "--output-dir", "glb"});
    std::vector<std::string> binaries = filesOf(folder, "glb", ".glb");
    binaries.insert(binaries.end(), {"--mag5", "--output-dir", "game"});
    convertEach(folder, binaries);
    size_t compared = 0;
    for (uint32_t seed = 0; seed < kModels; ++seed) {
        const Mag5Reading original = readMag5(folder.file("models/" + modelName(seed) + ".mag"));
        const Mag5Reading back = readMag5(folder.file("game/" + modelName(seed) + ".mag"));
        ASSERT_EQ(back.error, "") << "model " << seed;
        EXPECT_TRUE(back.reservedAllZero) << "model " << seed;
        const std::vector<Triangle> expected = trianglesOf(original);
        const std::vector<Triangle> found = trianglesOf(back);
        ASSERT_EQ(found.size(), expected.size()) << "model " << seed;
        for (size_t k = 0; k < found.size(); ++k) {
            ASSERT_EQ(found[k].key(), expected[k].key()) << "model " << seed << " triangle " << k;
            for (size_t corner = 0; corner < 3; ++corner) {
                for (size_t axis = 0; axis < 3; ++axis) {
                    EXPECT_NEAR(found[k].corners[corner].normal[axis], expected[k].corners[corner].normal[axis],
                                1e-6)
                        << "model " << seed << " triangle " << k;
                }
            }
        }
        compared += found.size();
    }
    EXPECT_GT(compared, kModels * 10);
}

}  // namespace
}  // namespace zelvane::test
