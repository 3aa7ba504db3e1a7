#include "XmlText.h"

namespace zelvane {
namespace {

std::string_view entityFor(char c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\'': return "&apos;";
        default: return {};
    }
}

}  // namespace

void appendXmlAttributeValue(TextBuffer& out, std::string_view text) {
    size_t plainStart = 0;
    for (size_t index = 0; index < text.size(); ++index) {
        const std::string_view entity = entityFor(text[index]);
        if (!entity.empty()) {
            out.append(text.substr(plainStart, index - plainStart));
            out.append(entity);
            plainStart = index + 1;
        }
    }
    out.append(text.substr(plainStart));
}

}  // namespace zelvane
