#include "ObjFaces.h"

#include <tiny_obj_loader.h>

namespace zelvane::test {
namespace {

// The three values of an attribute array starting at 3 * index; false when
// the index is outside the array.
bool lookUp3(const std::vector<tinyobj::real_t>& values, int index, std::array<double, 3>& out) {
    if (index < 0 || 3 * static_cast<size_t>(index) + 2 >= values.size()) {
        return false;
    }
    for (size_t k = 0; k < 3; ++k) {
        out[k] = values[3 * static_cast<size_t>(index) + k];
    }
    return true;
}

bool lookUpTexcoord(const std::vector<tinyobj::real_t>& values, int index, std::array<double, 2>& out) {
    if (index < 0 || 2 * static_cast<size_t>(index) + 1 >= values.size()) {
        return false;
    }
    out = {values[2 * static_cast<size_t>(index)], values[2 * static_cast<size_t>(index) + 1]};
    return true;
}

// One corner, or an error text when it refers to something that is not there.
std::string readCorner(const tinyobj::attrib_t& attrib, const tinyobj::index_t& index, ReadCorner& corner) {
    if (!lookUp3(attrib.vertices, index.vertex_index, corner.position)) {
        return "position " + std::to_string(index.vertex_index) + " missing";
    }
    if (!lookUp3(attrib.normals, index.normal_index, corner.normal)) {
        return "normal " + std::to_string(index.normal_index) + " missing";
    }
    if (index.texcoord_index >= 0) {
        std::array<double, 2> texcoord{};
        if (!lookUpTexcoord(attrib.texcoords, index.texcoord_index, texcoord)) {
            return "texture coordinate " + std::to_string(index.texcoord_index) + " missing";
        }
        corner.texcoord = texcoord;
    }
    return {};
}

std::optional<ReadMaterial> materialOf(const std::vector<tinyobj::material_t>& materials, int id) {
    if (id < 0 || static_cast<size_t>(id) >= materials.size()) {
        return std::nullopt;
    }
    const tinyobj::material_t& material = materials[static_cast<size_t>(id)];
    return ReadMaterial{material.name, {material.diffuse[0], material.diffuse[1], material.diffuse[2]},
                        material.diffuse_texname};
}

// The faces of one shape, appended to the reading.
void readShape(const tinyobj::ObjReader& reader, const tinyobj::shape_t& shape, ObjReading& reading) {
    const tinyobj::mesh_t& mesh = shape.mesh;
    size_t next = 0;
    for (size_t face = 0; face < mesh.num_face_vertices.size(); ++face) {
        ReadFace read;
        for (size_t corner = 0; corner < mesh.num_face_vertices[face]; ++corner, ++next) {
            ReadCorner& added = read.corners.emplace_back();
            if (std::string error = readCorner(reader.GetAttrib(), mesh.indices.at(next), added); !error.empty()) {
                reading.error += "face " + std::to_string(reading.faces.size()) + ": " + error + "\n";
            }
        }
        read.material = materialOf(reader.GetMaterials(), mesh.material_ids.at(face));
        reading.faces.push_back(std::move(read));
    }
}

}  // namespace

ObjReading readObj(const std::string& objPath) {
    tinyobj::ObjReaderConfig config;
    config.triangulate = false;
    config.vertex_color = false;
    const size_t separator = objPath.find_last_of('/');
    config.mtl_search_path = separator == std::string::npos ? "." : objPath.substr(0, separator);
    tinyobj::ObjReader reader;
    ObjReading reading;
    if (!reader.ParseFromFile(objPath, config)) {
        reading.error = "cannot read " + objPath + ": " + reader.Error();
        return reading;
    }
    reading.error = reader.Error();
    reading.warning = reader.Warning();
    for (const tinyobj::shape_t& shape : reader.GetShapes()) {
        readShape(reader, shape, reading);
    }
    return reading;
}

}  // namespace zelvane::test
