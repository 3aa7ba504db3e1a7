#include "HtmlDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zelvane::test {

HtmlDocument::HtmlDocument(const std::string& bytes) {
    document_ = htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "gallery.html", nullptr,
                               HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (document_ == nullptr) {
        throw std::runtime_error("libxml2 cannot read the page");
    }
    xpath_ = xmlXPathNewContext(document_);
}

HtmlDocument::~HtmlDocument() {
    xmlXPathFreeContext(xpath_);
    xmlFreeDoc(document_);
}

std::vector<xmlNodePtr> HtmlDocument::select(const std::string& expression, xmlNodePtr context) const {
    xpath_->node = context != nullptr ? context : reinterpret_cast<xmlNodePtr>(document_);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), xpath_);
    if (result == nullptr) {
        throw std::invalid_argument("bad XPath expression " + expression);
    }
    std::vector<xmlNodePtr> nodes;
    if (result->nodesetval != nullptr) {
        for (int index = 0; index < result->nodesetval->nodeNr; ++index) {
            nodes.push_back(result->nodesetval->nodeTab[index]);
        }
    }
    xmlXPathFreeObject(result);
    return nodes;
}

std::vector<std::string> HtmlDocument::texts(const std::string& expression, xmlNodePtr context) const {
    std::vector<std::string> result;
    for (xmlNodePtr node : select(expression, context)) {
        result.push_back(textOf(node));
    }
    return result;
}

std::string HtmlDocument::text(const std::string& expression, xmlNodePtr context) const {
    const std::vector<std::string> found = texts(expression, context);
    EXPECT_EQ(found.size(), 1u) << expression;
    return found.empty() ? std::string() : found.front();
}

std::string textOf(xmlNodePtr node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

}  // namespace zelvane::test
