#include "ObjReader.h"

#include <numeric>
#include <vector>

#include "FaceAdding.h"
#include "MemoryStream.h"
#include "MtlLibraries.h"
#include "mesh/FinitePositions.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

struct ObjData {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    uint64_t shortFaces = 0;  // of fewer than three corners, which the parser leaves out
};

// The parser leaves out a face of fewer than three corners with this
// warning, once for each.
uint64_t shortFacesIn(const std::string& warning) {
    constexpr std::string_view kShortFace = "Degenerated face found";
    uint64_t count = 0;
    for (size_t at = warning.find(kShortFace); at != std::string::npos; at = warning.find(kShortFace, at + 1)) {
        ++count;
    }
    return count;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The file parsed, faces kept whole; the parser's error otherwise.
std::string parseObj(std::string_view text, MtlLibraries& libraries, ObjData& data) {
    MemoryStream stream(text);
    std::string warning;
    std::string error;
    bool parsed = false;
    try {
        parsed = tinyobj::LoadObj(&data.attrib, &data.shapes, &data.materials, &warning, &error, &stream, &libraries,
                                  /*triangulate=*/false, /*default_vcols_fallback=*/false);
    } catch (const std::exception& exception) {
        error = exception.what();
    }
    if (parsed) {
        data.shortFaces = shortFacesIn(warning);
        return {};
    }
    return error.empty() ? "not a readable OBJ file" : "not a readable OBJ file: " + firstLine(error);
}

// What an index of a face corner refers to, in the words of an error.
struct IndexKind {
    std::string_view one;
    std::string_view many;
    bool optional;  // a corner may go without
};
constexpr IndexKind kPositionIndex{"vertex", "vertices", false};
constexpr IndexKind kNormalIndex{"normal", "normals", true};
constexpr IndexKind kTexcoordIndex{"texture coordinate", "texture coordinates", true};

// Room in the store for the positions and for the faces as they will be added.
StoreRoom roomFor(const ObjData& data) {
    StoreRoom room;
    room.vertices = data.attrib.vertices.size() / 3;
    for (const tinyobj::shape_t& shape : data.shapes) {
        for (const unsigned char count : shape.mesh.num_face_vertices) {
            const size_t triangles = count == 4 || count < 3 ? 0 : count - 2u;
            room.polygons += count == 4 ? 1 : triangles;
            room.corners += count == 4 ? 4 : 3 * triangles;
        }
    }
    return room;
}

class ObjFaces {
public:
    ObjFaces(const ObjData& data, MeshStore& store, ModelRead& read)
        : data_(data), store_(store), read_(read), positionBase_(static_cast<uint32_t>(store.positions.size())) {}

    std::string add() {
        store_.reserve(roomFor(data_), mapAhead_);
        if (std::string error = addPositions(); !error.empty()) {
            return error;
        }
        addMaterials();
        read_.faces += data_.shortFaces;
        read_.leftOut += data_.shortFaces;
        for (const tinyobj::shape_t& shape : data_.shapes) {
            if (std::string error = addShape(shape.mesh); !error.empty()) {
                return error;
            }
        }
        return {};
    }

private:
    std::string addPositions() {
        const std::vector<double>& coordinates = data_.attrib.vertices;
        for (size_t index = 0; index + 2 < coordinates.size(); index += 3) {
            store_.addPosition({coordinates[index], coordinates[index + 1], coordinates[index + 2]});
        }
        return refuseNonFinitePositions(store_, positionBase_).value_or("");
    }

    void addMaterials() {
        for (const tinyobj::material_t& source : data_.materials) {
            Material material;
            for (size_t channel = 0; channel < 3; ++channel) {
                material.colour[channel] = source.diffuse[channel];
            }
            material.colour[3] = 1.0;
            if (!source.diffuse_texname.empty()) {
                material.texture = store_.addTexture(source.diffuse_texname);
            }
            materials_.push_back(material);
        }
    }

    Material materialOf(int number) const {
        if (number >= 0 && static_cast<size_t>(number) < materials_.size()) {
            return materials_[static_cast<size_t>(number)];
        }
        return Material{kTextureNone, {1.0, 1.0, 1.0, 1.0}};
    }

    std::string addShape(const tinyobj::mesh_t& mesh) {
        // The parser keeps each face's corner count in a byte: a face of more
        // than 255 corners leaves the counts short of the corners.
        const size_t cornerTotal = std::accumulate(mesh.num_face_vertices.begin(), mesh.num_face_vertices.end(),
                                                   size_t{0});
        if (cornerTotal != mesh.indices.size() || mesh.material_ids.size() != mesh.num_face_vertices.size()) {
            return "a face has more than 255 corners";
        }
        size_t first = 0;
        for (size_t face = 0; face < mesh.num_face_vertices.size(); ++face) {
            const size_t count = mesh.num_face_vertices[face];
            if (std::string error = addObjFace(mesh, first, count, mesh.material_ids[face]); !error.empty()) {
                return error;
            }
            first += count;
        }
        return {};
    }

    std::string addObjFace(const tinyobj::mesh_t& mesh, size_t first, size_t count, int materialNumber) {
        const Material material = materialOf(materialNumber);
        const tinyobj::attrib_t& attrib = data_.attrib;
        corners_.assign(count, FaceCorner{});
        for (size_t k = 0; k < count; ++k) {
            const tinyobj::index_t& index = mesh.indices[first + k];
            if (std::string error = checkIndex(index.vertex_index, attrib.vertices.size() / 3, kPositionIndex);
                !error.empty()) {
                return error;
            }
            if (std::string error = checkIndex(index.normal_index, attrib.normals.size() / 3, kNormalIndex);
                !error.empty()) {
                return error;
            }
            if (std::string error = checkIndex(index.texcoord_index, attrib.texcoords.size() / 2, kTexcoordIndex);
                !error.empty()) {
                return error;
            }
            FaceCorner& corner = corners_[k];
            corner.position = positionBase_ + static_cast<uint32_t>(index.vertex_index);
            if (index.normal_index >= 0) {
                const double* normal = &attrib.normals[3 * static_cast<size_t>(index.normal_index)];
                corner.normal = Vector3{normal[0], normal[1], normal[2]};
            }
            if (index.texcoord_index >= 0 && material.textured()) {
                corner.u = attrib.texcoords[2 * static_cast<size_t>(index.texcoord_index)];
                corner.v = attrib.texcoords[2 * static_cast<size_t>(index.texcoord_index) + 1];
            }
        }
        addFace(store_, material, corners_, read_);
        return {};
    }

    // An index as the parser resolved it: from 0, relative ones made
    // absolute, -1 for none. Faces are numbered from 0 and the file's
    // entries from 1, as the file numbers them.
    std::string checkIndex(int index, size_t count, const IndexKind& kind) const {
        if ((kind.optional && index == -1) || (index >= 0 && static_cast<size_t>(index) < count)) {
            return {};
        }
        return "face " + std::to_string(read_.faces) + " refers to " + std::string(kind.one) + " " +
               std::to_string(int64_t{index} + 1) + ", but the file has " + std::to_string(count) + " " +
               std::string(kind.many);
    }

    BackgroundPrefault mapAhead_;  // first: joined only after the faces are added
    const ObjData& data_;
    MeshStore& store_;
    ModelRead& read_;
    uint32_t positionBase_;
    std::vector<Material> materials_;
    std::vector<FaceCorner> corners_;
};

}  // namespace

ModelRead readObjModel(const std::string& path, std::string_view text, MeshStore& store) {
    ModelRead read;
    MtlLibraries libraries{std::string(folderPart(path))};
    ObjData data;
    read.error = parseObj(text, libraries, data);
    read.warnings = libraries.warnings();
    read.filesRead = libraries.filesRead();
    if (read.error.empty()) {
        read.error = ObjFaces(data, store, read).add();
    }
    return read;
}

}  // namespace zelvane
