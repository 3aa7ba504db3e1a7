#include "GltfAccessors.h"

#include <algorithm>

#include "bytes/LittleEndian.h"

namespace zelvane {
namespace {

std::string accessorWords(int accessor) {
    return "accessor " + std::to_string(accessor);
}

}  // namespace

std::optional<AccessorElements> AccessorElements::of(const tinygltf::Model& model, int accessor, int type,
                                                     std::span<const int> componentTypes, std::string& error) {
    if (accessor < 0 || static_cast<size_t>(accessor) >= model.accessors.size()) {
        error = "a primitive refers to " + accessorWords(accessor) + ", but the file has " +
                std::to_string(model.accessors.size()) + " accessors";
        return std::nullopt;
    }
    const tinygltf::Accessor& source = model.accessors[static_cast<size_t>(accessor)];
    const int componentSize = tinygltf::GetComponentSizeInBytes(static_cast<uint32_t>(source.componentType));
    const int components = tinygltf::GetNumComponentsInType(static_cast<uint32_t>(source.type));
    if (source.type != type || componentSize <= 0 || components <= 0 ||
        std::find(componentTypes.begin(), componentTypes.end(), source.componentType) == componentTypes.end()) {
        error = accessorWords(accessor) + " holds elements of a type that does not fit its use";
        return std::nullopt;
    }
    if (source.sparse.isSparse || source.bufferView < 0 ||
        static_cast<size_t>(source.bufferView) >= model.bufferViews.size()) {
        error = accessorWords(accessor) + " has no buffer view of its own (sparse accessors are not read)";
        return std::nullopt;
    }
    const tinygltf::BufferView& view = model.bufferViews[static_cast<size_t>(source.bufferView)];
    if (view.buffer < 0 || static_cast<size_t>(view.buffer) >= model.buffers.size()) {
        error = accessorWords(accessor) + "'s buffer view refers to a buffer the file does not have";
        return std::nullopt;
    }
    const std::vector<unsigned char>& buffer = model.buffers[static_cast<size_t>(view.buffer)].data;
    const uint64_t elementSize = uint64_t(componentSize) * uint64_t(components);
    const uint64_t stride = view.byteStride == 0 ? elementSize : view.byteStride;
    // Every sum below is of numbers the checks before it bound by the buffer's size.
    const bool viewFits = view.byteOffset <= buffer.size() && view.byteLength <= buffer.size() - view.byteOffset;
    const uint64_t viewEnd = viewFits ? view.byteOffset + view.byteLength : 0;
    const bool elementsFit =
        viewFits && stride >= elementSize && source.byteOffset <= view.byteLength &&
        (source.count == 0 ||
         (elementSize <= viewEnd - view.byteOffset - source.byteOffset &&
          source.count - 1 <= (viewEnd - view.byteOffset - source.byteOffset - elementSize) / stride));
    if (!elementsFit) {
        error = accessorWords(accessor) + " reaches beyond its buffer";
        return std::nullopt;
    }
    AccessorElements elements;
    elements.first_ = buffer.data() + view.byteOffset + source.byteOffset;
    elements.count_ = source.count;
    elements.stride_ = static_cast<size_t>(stride);
    elements.componentType_ = source.componentType;
    elements.normalized_ = source.normalized;
    return elements;
}

double AccessorElements::number(size_t element, size_t component) const {
    const uint8_t* bytes = first_ + element * stride_;
    switch (componentType_) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT:
            return decodeF32(bytes + 4 * component);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return bytes[component] / (normalized_ ? 255.0 : 1.0);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return decodeU16(bytes + 2 * component) / (normalized_ ? 65535.0 : 1.0);
        default:
            return 0.0;
    }
}

uint32_t AccessorElements::index(size_t element) const {
    const uint8_t* bytes = first_ + element * stride_;
    switch (componentType_) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return bytes[0];
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return decodeU16(bytes);
        default:
            return decodeU32(bytes);
    }
}

}  // namespace zelvane
