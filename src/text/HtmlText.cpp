#include "HtmlText.h"

#include "XmlText.h"

namespace zelvane {

// HTML takes every reference XML does, "&apos;" included, and the same
// characters.
void appendHtmlText(TextBuffer& out, std::string_view text) {
    appendXmlAttributeValue(out, text);
}

void appendAttribute(TextBuffer& out, std::string_view name, std::string_view value) {
    out.append(' ');
    out.append(name);
    out.append("=\"");
    appendHtmlText(out, value);
    out.append('"');
}

void appendAttribute(TextBuffer& out, std::string_view name, uint64_t value) {
    out.append(' ');
    out.append(name);
    out.append("=\"");
    appendDecimal(out, value);
    out.append('"');
}

void appendTextElement(TextBuffer& out, std::string_view tag, std::string_view className, std::string_view text) {
    out.append('<');
    out.append(tag);
    appendAttribute(out, "class", className);
    out.append('>');
    appendHtmlText(out, text);
    out.append("</");
    out.append(tag);
    out.append(">\n");
}

void appendDecimal(TextBuffer& out, uint64_t value) {
    out.endWrite(writeUnsigned(out.beginWrite(kMaxUnsignedChars), value));
}

}  // namespace zelvane
