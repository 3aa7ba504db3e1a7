#include "SceneDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <string_view>

namespace zelvane::test {
namespace {

struct DocumentFree {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
struct ContextFree {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) {
        return {};
    }
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

// The element children of a node with the given name.
std::vector<const xmlNode*> childElements(const xmlNode* parent, std::string_view name) {
    std::vector<const xmlNode*> found;
    for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && nameOf(child) == name) {
            found.push_back(child);
        }
    }
    return found;
}

std::optional<std::string> shaderImage(const xmlNode* shader) {
    for (const xmlNode* reflectance : childElements(shader, "Reflectance")) {
        if (const auto images = childElements(reflectance, "ImageTexture"); !images.empty()) {
            return attribute(images.front(), "href");
        }
    }
    return std::nullopt;
}

SceneObject sceneObject(const xmlNode* object) {
    SceneObject read{attribute(object, "type"), {}, {}};
    for (const xmlNode* parameter : childElements(object, "Parameter")) {
        const std::string name = attribute(parameter, "name");
        if (name == "href") {
            read.href = attribute(parameter, "value");
        } else if (name == "surfaceshader") {
            read.shader = attribute(parameter, "value");
        }
    }
    return read;
}

void readFrame(const xmlNode* frame, SceneDocument& scene) {
    for (const xmlNode* shader : childElements(frame, "SurfaceShader")) {
        scene.shaderImages[attribute(shader, "name")] = shaderImage(shader);
        ++scene.shaderCount;
    }
    for (const xmlNode* object : childElements(frame, "Object")) {
        scene.objects.push_back(sceneObject(object));
    }
}

}  // namespace

SceneDocument readScene(const std::string& path) {
    SceneDocument scene;
    std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
    constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    std::unique_ptr<xmlDoc, DocumentFree> document(xmlCtxtReadFile(context.get(), path.c_str(), nullptr, kOptions));
    if (document == nullptr || context->wellFormed == 0) {
        const xmlError* error = xmlCtxtGetLastError(context.get());
        scene.error = error != nullptr && error->message != nullptr ? error->message : "not well formed";
        return scene;
    }
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root == nullptr) {
        scene.error = "no root element";
        return scene;
    }
    scene.rootName = nameOf(root);
    for (const xmlNode* frame : childElements(root, "Frame")) {
        readFrame(frame, scene);
    }
    return scene;
}

}  // namespace zelvane::test
