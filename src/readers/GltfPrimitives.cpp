#include "GltfPrimitives.h"

#include <array>
#include <optional>

#include "GltfAccessors.h"

namespace zelvane {
namespace {

constexpr int kFloatOnly[] = {TINYGLTF_COMPONENT_TYPE_FLOAT};
constexpr int kTexcoordComponents[] = {TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                                       TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT};
constexpr int kIndexComponents[] = {TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                                    TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT};

Vector3 vectorAt(const AccessorElements& elements, size_t element) {
    return {elements.number(element, 0), elements.number(element, 1), elements.number(element, 2)};
}

// The attribute's accessor number, or -1 when the primitive has none.
int attribute(const tinygltf::Primitive& primitive, const std::string& name) {
    const auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

// The texture coordinate set a material's image is read with.
std::string texcoordSet(const tinygltf::Model& model, int material) {
    int set = 0;
    if (material >= 0 && static_cast<size_t>(material) < model.materials.size()) {
        set = std::max(0, model.materials[static_cast<size_t>(material)].pbrMetallicRoughness.baseColorTexture.texCoord);
    }
    return "TEXCOORD_" + std::to_string(set);
}

// The vertex numbers of a primitive's triangles, in order, from its
// indices or from the vertices' own order.
class TriangleCorners {
public:
    TriangleCorners(std::optional<AccessorElements> indices, size_t vertexCount, int mode)
        : indices_(std::move(indices)), mode_(mode) {
        const size_t count = indices_ ? indices_->count() : vertexCount;
        triangles_ = mode == TINYGLTF_MODE_TRIANGLES ? count / 3 : count >= 3 ? count - 2 : 0;
    }

    size_t triangles() const { return triangles_; }

    std::array<uint32_t, 3> triangle(size_t k) const {
        switch (mode_) {
            case TINYGLTF_MODE_TRIANGLE_STRIP:  // every other triangle turned, to keep one facing
                return k % 2 == 0 ? std::array{vertex(k), vertex(k + 1), vertex(k + 2)}
                                  : std::array{vertex(k + 1), vertex(k), vertex(k + 2)};
            case TINYGLTF_MODE_TRIANGLE_FAN:
                return {vertex(0), vertex(k + 1), vertex(k + 2)};
            default:
                return {vertex(3 * k), vertex(3 * k + 1), vertex(3 * k + 2)};
        }
    }

private:
    uint32_t vertex(size_t element) const {
        return indices_ ? indices_->index(element) : static_cast<uint32_t>(element);
    }

    std::optional<AccessorElements> indices_;
    int mode_;
    size_t triangles_ = 0;
};

// An optional attribute's elements: none when the primitive lacks it, the
// error's words when it has it wrong.
std::optional<AccessorElements> optionalAttribute(const tinygltf::Model& model, int accessor, int type,
                                                  std::span<const int> components, size_t vertexCount,
                                                  std::string& error) {
    if (accessor < 0) {
        return std::nullopt;
    }
    std::optional<AccessorElements> elements = AccessorElements::of(model, accessor, type, components, error);
    if (elements && elements->count() != vertexCount) {
        error = "accessor " + std::to_string(accessor) + " has " + std::to_string(elements->count()) +
                " elements where its primitive has " + std::to_string(vertexCount) + " vertices";
        return std::nullopt;
    }
    return elements;
}

}  // namespace

std::string PrimitiveAdder::addMesh(int mesh, const Placement& placement) {
    if (mesh < 0 || static_cast<size_t>(mesh) >= model_.meshes.size()) {
        return "a node refers to mesh " + std::to_string(mesh) + ", but the file has " +
               std::to_string(model_.meshes.size()) + " meshes";
    }
    for (const tinygltf::Primitive& primitive : model_.meshes[static_cast<size_t>(mesh)].primitives) {
        if (std::string error = addPrimitive(primitive, placement); !error.empty()) {
            return error;
        }
    }
    return {};
}

std::string PrimitiveAdder::spend(uint64_t corners) {
    if (corners > budget_) {
        return "the scene places its meshes more often than this file's size allows to be converted";
    }
    budget_ -= corners;
    return {};
}

std::string PrimitiveAdder::addPrimitive(const tinygltf::Primitive& primitive, const Placement& placement) {
    const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
    if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP && mode != TINYGLTF_MODE_TRIANGLE_FAN) {
        return "a primitive of points or lines (mode " + std::to_string(mode) + ") cannot be converted";
    }
    if (primitive.material < -1 || primitive.material >= static_cast<int>(materials_.size()) - 1) {
        return "a primitive refers to material " + std::to_string(primitive.material) + ", but the file has " +
               std::to_string(materials_.size() - 1) + " materials";
    }
    const Material& material = primitive.material < 0 ? materials_.back() : materials_[size_t(primitive.material)];
    std::string error;
    const int positionAccessor = attribute(primitive, "POSITION");
    if (positionAccessor < 0) {
        return "a primitive has no positions";
    }
    const std::optional<AccessorElements> positions =
        AccessorElements::of(model_, positionAccessor, TINYGLTF_TYPE_VEC3, kFloatOnly, error);
    if (!positions) {
        return error;
    }
    const size_t vertexCount = positions->count();
    const std::optional<AccessorElements> normals = optionalAttribute(
        model_, attribute(primitive, "NORMAL"), TINYGLTF_TYPE_VEC3, kFloatOnly, vertexCount, error);
    const std::optional<AccessorElements> texcoords =
        optionalAttribute(model_, material.textured() ? attribute(primitive, texcoordSet(model_, primitive.material)) : -1,
                          TINYGLTF_TYPE_VEC2, kTexcoordComponents, vertexCount, error);
    std::optional<AccessorElements> indices;
    if (primitive.indices >= 0) {
        indices = AccessorElements::of(model_, primitive.indices, TINYGLTF_TYPE_SCALAR, kIndexComponents, error);
    }
    if (!error.empty()) {
        return error;
    }
    const TriangleCorners triangles(std::move(indices), vertexCount, mode);
    if (std::string spent = spend(vertexCount + 3 * uint64_t{triangles.triangles()}); !spent.empty()) {
        return spent;
    }
    const uint32_t base = static_cast<uint32_t>(store_.positions.size());
    for (size_t vertex = 0; vertex < vertexCount; ++vertex) {
        store_.addPosition(placement.point(vectorAt(*positions, vertex)));
    }
    std::array<FaceCorner, 3> corners;
    for (size_t k = 0; k < triangles.triangles(); ++k) {
        const std::array<uint32_t, 3> triangle = triangles.triangle(k);
        for (size_t corner = 0; corner < 3; ++corner) {
            const uint32_t vertex = triangle[corner];
            if (vertex >= vertexCount) {
                return "a primitive refers to vertex " + std::to_string(vertex) + ", but it has " +
                       std::to_string(vertexCount) + " vertices";
            }
            corners[corner].position = base + vertex;
            corners[corner].normal.reset();
            if (normals) {
                corners[corner].normal = placement.normal(vectorAt(*normals, vertex));
            }
            if (texcoords) {
                corners[corner].u = texcoords->number(vertex, 0);
                corners[corner].v = 1.0 - texcoords->number(vertex, 1);  // glTF counts v from the image's top
            }
        }
        addFace(store_, material, corners, read_);
    }
    return {};
}

}  // namespace zelvane
