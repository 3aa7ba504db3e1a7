#include "GltfNodes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvane {
namespace {

std::array<double, 16> translationRotationScale(const tinygltf::Node& node) {
    const std::vector<double>& t = node.translation.size() == 3 ? node.translation : std::vector<double>{0, 0, 0};
    const std::vector<double>& r = node.rotation.size() == 4 ? node.rotation : std::vector<double>{0, 0, 0, 1};
    const std::vector<double>& s = node.scale.size() == 3 ? node.scale : std::vector<double>{1, 1, 1};
    const double x = r[0], y = r[1], z = r[2], w = r[3];
    // Column-major: column c holds the image of axis c, scaled.
    return {(1 - 2 * (y * y + z * z)) * s[0], (2 * (x * y + z * w)) * s[0], (2 * (x * z - y * w)) * s[0], 0,
            (2 * (x * y - z * w)) * s[1], (1 - 2 * (x * x + z * z)) * s[1], (2 * (y * z + x * w)) * s[1], 0,
            (2 * (x * z + y * w)) * s[2], (2 * (y * z - x * w)) * s[2], (1 - 2 * (x * x + y * y)) * s[2], 0,
            t[0], t[1], t[2], 1};
}

std::array<double, 16> product(const std::array<double, 16>& outer, const std::array<double, 16>& inner) {
    std::array<double, 16> result{};
    for (size_t column = 0; column < 4; ++column) {
        for (size_t row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (size_t k = 0; k < 4; ++k) {
                sum += outer[k * 4 + row] * inner[column * 4 + k];
            }
            result[column * 4 + row] = sum;
        }
    }
    return result;
}

bool isIdentityMatrix(const std::array<double, 16>& m) {
    for (size_t k = 0; k < 16; ++k) {
        if (m[k] != (k % 5 == 0 ? 1.0 : 0.0)) {
            return false;
        }
    }
    return true;
}

struct NodeVisit {
    int node;
    Placement placement;
};

std::vector<int> rootNodes(const tinygltf::Model& model) {
    if (!model.scenes.empty()) {
        const size_t scene = model.defaultScene >= 0 && static_cast<size_t>(model.defaultScene) < model.scenes.size()
                                 ? static_cast<size_t>(model.defaultScene)
                                 : 0;
        return model.scenes[scene].nodes;
    }
    std::vector<bool> isChild(model.nodes.size(), false);
    for (const tinygltf::Node& node : model.nodes) {
        for (const int child : node.children) {
            if (child >= 0 && static_cast<size_t>(child) < isChild.size()) {
                isChild[static_cast<size_t>(child)] = true;
            }
        }
    }
    std::vector<int> roots;
    for (size_t node = 0; node < model.nodes.size(); ++node) {
        if (!isChild[node]) {
            roots.push_back(static_cast<int>(node));
        }
    }
    return roots;
}

}  // namespace

Placement Placement::identity() {
    Placement placement;
    placement.m_ = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    placement.identity_ = true;
    return placement;
}

Placement Placement::ofMatrix(const std::array<double, 16>& m) {
    Placement placement;
    placement.m_ = m;
    placement.identity_ = isIdentityMatrix(m);
    return placement;
}

Placement Placement::ofNode(const tinygltf::Node& node) {
    std::array<double, 16> m{};
    if (node.matrix.size() == 16) {
        std::copy(node.matrix.begin(), node.matrix.end(), m.begin());
    } else {
        m = translationRotationScale(node);
    }
    return ofMatrix(m);
}

Placement Placement::then(const Placement& inner) const {
    if (inner.identity_) {
        return *this;
    }
    return identity_ ? inner : ofMatrix(product(m_, inner.m_));
}

Vector3 Placement::point(const Vector3& p) const {
    if (identity_) {
        return p;
    }
    return {at(0, 0) * p.x + at(0, 1) * p.y + at(0, 2) * p.z + at(0, 3),
            at(1, 0) * p.x + at(1, 1) * p.y + at(1, 2) * p.z + at(1, 3),
            at(2, 0) * p.x + at(2, 1) * p.y + at(2, 2) * p.z + at(2, 3)};
}

Vector3 Placement::normal(const Vector3& n) const {
    if (identity_) {
        return n;
    }
    // The cofactors of the upper 3 x 3: the inverse transpose times the
    // determinant, which the normalization takes out again.
    auto cofactor = [&](size_t row, size_t column) {
        const size_t r0 = (row + 1) % 3, r1 = (row + 2) % 3, c0 = (column + 1) % 3, c1 = (column + 2) % 3;
        return at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
    };
    const Vector3 carried{cofactor(0, 0) * n.x + cofactor(0, 1) * n.y + cofactor(0, 2) * n.z,
                          cofactor(1, 0) * n.x + cofactor(1, 1) * n.y + cofactor(1, 2) * n.z,
                          cofactor(2, 0) * n.x + cofactor(2, 1) * n.y + cofactor(2, 2) * n.z};
    const double length = std::sqrt(carried.x * carried.x + carried.y * carried.y + carried.z * carried.z);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return carried;
    }
    return {carried.x / length, carried.y / length, carried.z / length};
}

std::string forEachPlacedMesh(const tinygltf::Model& model,
                              const std::function<std::string(int mesh, const Placement& placement)>& visit) {
    std::vector<bool> reached(model.nodes.size(), false);
    std::vector<NodeVisit> pending;
    const std::vector<int> roots = rootNodes(model);
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
        pending.push_back({*root, Placement::identity()});
    }
    while (!pending.empty()) {
        const NodeVisit visitNow = pending.back();
        pending.pop_back();
        if (visitNow.node < 0 || static_cast<size_t>(visitNow.node) >= model.nodes.size()) {
            return "the scene refers to node " + std::to_string(visitNow.node) + ", but the file has " +
                   std::to_string(model.nodes.size()) + " nodes";
        }
        if (reached[static_cast<size_t>(visitNow.node)]) {
            return "node " + std::to_string(visitNow.node) + " is reached twice in the scene's tree";
        }
        reached[static_cast<size_t>(visitNow.node)] = true;
        const tinygltf::Node& node = model.nodes[static_cast<size_t>(visitNow.node)];
        const Placement placement = visitNow.placement.then(Placement::ofNode(node));
        if (node.mesh >= 0) {
            if (std::string error = visit(node.mesh, placement); !error.empty()) {
                return error;
            }
        }
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            pending.push_back({*child, placement});
        }
    }
    return {};
}

}  // namespace zelvane
