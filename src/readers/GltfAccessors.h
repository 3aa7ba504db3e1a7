// Reading an accessor's elements out of its buffer, every element checked
// to lie within its buffer view and its buffer first.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "TinyGltf.h"

namespace zelvane {

// The elements of one accessor, once its layout has been checked.
class AccessorElements {
public:
    // The accessor's elements when they are of the given type (a
    // TINYGLTF_TYPE_*) and one of the component types allowed, and lie
    // within their buffer; otherwise error says why.
    static std::optional<AccessorElements> of(const tinygltf::Model& model, int accessor, int type,
                                              std::span<const int> componentTypes, std::string& error);

    size_t count() const { return count_; }
    // Component c of element i as a number: a float as it is, an integer
    // scaled to [0, 1] when the accessor is normalized.
    double number(size_t element, size_t component) const;
    // Element i of a scalar accessor of unsigned integers.
    uint32_t index(size_t element) const;

private:
    const uint8_t* first_ = nullptr;
    size_t count_ = 0;
    size_t stride_ = 0;
    int componentType_ = 0;
    bool normalized_ = false;
};

}  // namespace zelvane
