// The nodes of a glTF scene and where each puts its mesh.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "TinyGltf.h"
#include "mesh/Vector3.h"

namespace zelvane {

// A node's placement in the scene: a 4 x 4 matrix in glTF's column order.
class Placement {
public:
    static Placement identity();
    // A matrix in glTF's column order.
    static Placement ofMatrix(const std::array<double, 16>& m);
    // The node's own matrix, or its translation, rotation and scale.
    static Placement ofNode(const tinygltf::Node& node);
    // This placement after the inner one: a child's placement in its parent's.
    Placement then(const Placement& inner) const;

    bool isIdentity() const { return identity_; }
    Vector3 point(const Vector3& p) const;
    // A normal carried along (by the inverse transpose), unit length unless
    // the placement is the identity, which leaves it exactly as it was.
    Vector3 normal(const Vector3& n) const;

private:
    double at(size_t row, size_t column) const { return m_[column * 4 + row]; }

    std::array<double, 16> m_{};
    bool identity_ = false;
};

// Calls visit(mesh, placement) for every node with a mesh in the document's
// scene (its default scene, else its first; without any, every node that is
// no node's child), parents before children. A node reached twice, as in a
// loop of children, or a child or mesh the file does not have, gives an
// error in plain words; so does an error visit returns.
std::string forEachPlacedMesh(const tinygltf::Model& model,
                              const std::function<std::string(int mesh, const Placement& placement)>& visit);

}  // namespace zelvane
