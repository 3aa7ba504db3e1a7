#include "GltfFaces.h"

#include <cmath>
#include <sstream>

namespace zelvane::test {
namespace {

using Vec3 = std::array<double, 3>;

constexpr double kNormalTolerance = 1e-6;    // a unit vector rounded to floats
constexpr double kTexcoordTolerance = 1e-7;  // v read from 1 - v
constexpr double kColourTolerance = 1e-12;   // written in the shortest form that reads back exactly
constexpr size_t kReportedTriangles = 5;

Vec3 difference(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

std::optional<Vec3> unit(const Vec3& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return std::nullopt;
    }
    return Vec3{v[0] / length, v[1] / length, v[2] / length};
}

// The face's own normal: its edges' cross product, a quad's diagonals'.
Vec3 faceNormal(const ExpectedFace& face) {
    const auto& c = face.corners;
    const Vec3 normal = c.size() == 4 ? cross(difference(c[2].position, c[0].position),
                                              difference(c[3].position, c[1].position))
                                      : cross(difference(c[1].position, c[0].position),
                                              difference(c[2].position, c[0].position));
    return unit(normal).value_or(Vec3{0.0, 0.0, 1.0});
}

ExpectedCorner gltfCorner(const ExpectedFace& face, size_t corner, bool mapped) {
    ExpectedCorner expected = face.corners[corner];
    expected.normal = unit(expected.normal).value_or(faceNormal(face));
    if (mapped && expected.texcoord) {
        (*expected.texcoord)[1] = 1.0 - (*expected.texcoord)[1];
    } else {
        expected.texcoord.reset();
    }
    return expected;
}

// The fourth colour channel of every polygon expectedFaces gives a face for.
std::vector<double> fourthChannels(const std::vector<Mag5ModelSpec>& models) {
    std::vector<double> channels;
    for (const Mag5ModelSpec& model : models) {
        for (const Mag5PolygonSpec& polygon : model.polygons) {
            if (polygon.corners.size() == 3 || polygon.corners.size() == 4) {
                channels.push_back(polygon.colour[3] / 255.0);
            }
        }
    }
    return channels;
}

bool sameCorner(const ExpectedCorner& expected, const GltfCornerRead& read) {
    return expected.position == read.position && withinTolerance(expected.normal, read.normal, kNormalTolerance) &&
           expected.texcoord.has_value() == read.texcoord.has_value() &&
           (!expected.texcoord || withinTolerance(*expected.texcoord, *read.texcoord, kTexcoordTolerance));
}

bool sameImage(const TextureFile* expected, const GltfTriangleRead& read, const GltfReading& reading) {
    if (expected == nullptr || !read.image) {
        return expected == nullptr && !read.image;
    }
    const GltfImageRead& image = reading.images.at(*read.image);
    return image.file == expected->fileName && image.mimeType == expected->mimeType() &&
           image.bytes == expected->bytes();
}

bool sameMaterial(const ExpectedTriangle& expected, const GltfTriangleRead& read, const GltfReading& reading) {
    const std::array<double, 3> colour{read.colour[0], read.colour[1], read.colour[2]};
    return withinTolerance(colour, {expected.colour[0], expected.colour[1], expected.colour[2]}, kColourTolerance) &&
           read.colour[3] == 1.0 && read.colourChannel4 &&
           std::abs(*read.colourChannel4 - expected.colour[3]) <= kColourTolerance && read.metalness == 0.0 &&
           read.roughness == 1.0 && sameImage(expected.image, read, reading);
}

bool sameTriangle(const ExpectedTriangle& expected, const GltfTriangleRead& read, size_t rotation,
                  const GltfReading& reading) {
    for (size_t k = 0; k < 3; ++k) {
        if (!sameCorner(expected.corners[k], read.corners[(k + rotation) % 3])) {
            return false;
        }
    }
    return sameMaterial(expected, read, reading);
}

using PositionKey = std::array<double, 9>;

template <typename Corners>
PositionKey keyOf(const Corners& corners, size_t rotation) {
    PositionKey key{};
    for (size_t k = 0; k < 3; ++k) {
        for (size_t axis = 0; axis < 3; ++axis) {
            key[3 * k + axis] = corners[(k + rotation) % 3].position[axis];
        }
    }
    return key;
}

void printCorners(std::ostream& out, const auto& corners) {
    for (const auto& corner : corners) {
        out << " v(" << corner.position[0] << " " << corner.position[1] << " " << corner.position[2] << ") n("
            << corner.normal[0] << " " << corner.normal[1] << " " << corner.normal[2] << ")";
        if (corner.texcoord) {
            out << " t(" << (*corner.texcoord)[0] << " " << (*corner.texcoord)[1] << ")";
        }
    }
}

std::string describe(const ExpectedTriangle& triangle) {
    std::ostringstream out;
    out.precision(9);
    out << triangle.origin << ": colour (" << triangle.colour[0] << " " << triangle.colour[1] << " "
        << triangle.colour[2] << " " << triangle.colour[3] << ") image "
        << (triangle.image != nullptr ? triangle.image->fileName : "(none)");
    printCorners(out, triangle.corners);
    return out.str();
}

std::string describe(const GltfTriangleRead& triangle, size_t index, const GltfReading& reading) {
    std::ostringstream out;
    out.precision(9);
    out << "read triangle " << index << ": " << triangle.material << " colour (" << triangle.colour[0] << " "
        << triangle.colour[1] << " " << triangle.colour[2] << " " << triangle.colour[3] << ") channel 4 "
        << triangle.colourChannel4.value_or(-1) << " metal " << triangle.metalness << " rough "
        << triangle.roughness << " image "
        << (triangle.image && *triangle.image < reading.images.size() ? reading.images[*triangle.image].file
                                                                     : "(none)");
    printCorners(out, triangle.corners);
    return out.str();
}

template <typename Describe>
void reportUnpaired(std::ostream& out, const char* heading, const std::vector<size_t>& unpaired, Describe describeAt) {
    if (!unpaired.empty()) {
        out << unpaired.size() << " " << heading << "\n";
        for (size_t k = 0; k < unpaired.size() && k < kReportedTriangles; ++k) {
            out << "  " << describeAt(unpaired[k]) << "\n";
        }
    }
}

}  // namespace

TextureFile pngTextureFile(const std::string& fileName, std::vector<uint8_t> bytes) {
    return {fileName, std::make_shared<const ImageContent>(ImageContent{"image/png", std::move(bytes), {}}), false};
}

TextureFiles textureFilesFor(const MeshStore& store, const TextureImages& images) {
    TextureFiles files;
    std::map<std::string, uint32_t> numberOfFile;
    files.fileOfTexture.assign(store.textures.size(), TextureFiles::kNoFile);
    for (size_t texture = 1; texture < store.textures.size(); ++texture) {
        const auto image = images.find(store.textures[texture]);
        if (image == images.end()) {
            continue;
        }
        const auto [entry, added] =
            numberOfFile.try_emplace(image->second.fileName, static_cast<uint32_t>(files.files.size()));
        if (added) {
            files.files.push_back(image->second);
        }
        files.fileOfTexture[texture] = entry->second;
    }
    return files;
}

std::vector<ExpectedTriangle> expectedTriangles(const std::vector<Mag5ModelSpec>& models,
                                                const TextureImages& images) {
    const std::vector<ExpectedFace> faces = expectedFaces(models);
    const std::vector<double> channels = fourthChannels(models);
    std::vector<ExpectedTriangle> triangles;
    for (size_t f = 0; f < faces.size(); ++f) {
        const ExpectedFace& face = faces[f];
        const auto image = face.image ? images.find(*face.image) : images.end();
        const TextureFile* file = image != images.end() ? &image->second : nullptr;
        const std::vector<std::array<size_t, 3>> parts =
            face.corners.size() == 4 ? std::vector<std::array<size_t, 3>>{{0, 1, 2}, {0, 2, 3}}
                                     : std::vector<std::array<size_t, 3>>{{0, 1, 2}};
        for (size_t part = 0; part < parts.size(); ++part) {
            ExpectedTriangle triangle;
            for (size_t k = 0; k < 3; ++k) {
                triangle.corners[k] = gltfCorner(face, parts[part][k], file != nullptr);
            }
            triangle.colour = {face.diffuse[0], face.diffuse[1], face.diffuse[2], channels.at(f)};
            triangle.image = file;
            triangle.origin = face.origin + " triangle " + std::to_string(part);
            triangles.push_back(triangle);
        }
    }
    return triangles;
}

std::string unpairedTriangles(const std::vector<ExpectedTriangle>& expected, const GltfReading& reading) {
    std::map<PositionKey, std::vector<size_t>> byPositions;
    for (size_t e = 0; e < expected.size(); ++e) {
        byPositions[keyOf(expected[e].corners, 0)].push_back(e);
    }
    std::vector<bool> taken(expected.size(), false);
    std::vector<size_t> unpairedRead;
    for (size_t r = 0; r < reading.triangles.size(); ++r) {
        const GltfTriangleRead& read = reading.triangles[r];
        bool paired = false;
        for (size_t rotation = 0; rotation < 3 && !paired; ++rotation) {
            const auto candidates = byPositions.find(keyOf(read.corners, rotation));
            for (size_t k = 0; candidates != byPositions.end() && k < candidates->second.size() && !paired; ++k) {
                const size_t e = candidates->second[k];
                paired = !taken[e] && sameTriangle(expected[e], read, rotation, reading);
                taken[e] = taken[e] || paired;
            }
        }
        if (!paired) {
            unpairedRead.push_back(r);
        }
    }
    std::vector<size_t> unpairedExpected;
    for (size_t e = 0; e < expected.size(); ++e) {
        if (!taken[e]) {
            unpairedExpected.push_back(e);
        }
    }
    std::ostringstream problems;
    reportUnpaired(problems, "triangles read that no model polygon gives:", unpairedRead,
                   [&](size_t r) { return describe(reading.triangles[r], r, reading); });
    reportUnpaired(problems, "model triangles not found:", unpairedExpected,
                   [&](size_t e) { return describe(expected[e]); });
    return problems.str();
}

std::vector<ExpectedTriangle> withArea(std::vector<ExpectedTriangle> triangles) {
    std::erase_if(triangles, [](const ExpectedTriangle& triangle) {
        const auto& c = triangle.corners;
        return c[0].position == c[1].position || c[1].position == c[2].position || c[0].position == c[2].position;
    });
    return triangles;
}

}  // namespace zelvane::test
