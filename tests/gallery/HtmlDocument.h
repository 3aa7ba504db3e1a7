// A page as libxml2's HTML parser reads it, searched with XPath.
#pragma once

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <string>
#include <vector>

namespace zelvane::test {

class HtmlDocument {
public:
    explicit HtmlDocument(const std::string& bytes);
    ~HtmlDocument();
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    // The nodes an expression selects, below context or the document.
    std::vector<xmlNodePtr> select(const std::string& expression, xmlNodePtr context = nullptr) const;
    size_t count(const std::string& expression, xmlNodePtr context = nullptr) const {
        return select(expression, context).size();
    }
    // The text of every node selected, in document order.
    std::vector<std::string> texts(const std::string& expression, xmlNodePtr context = nullptr) const;
    // The text of the one node selected; fails the test when there is not one.
    std::string text(const std::string& expression, xmlNodePtr context = nullptr) const;

private:
    htmlDocPtr document_ = nullptr;
    xmlXPathContextPtr xpath_ = nullptr;
};

// A node's text content, its descendants' included.
std::string textOf(xmlNodePtr node);

}  // namespace zelvane::test
