// The text kit's escaping and number forms, on awkward values.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <limits>
#include <string>

#include "text/JsonText.h"
#include "text/UriText.h"
#include "text/XmlText.h"

namespace zelvane {
namespace {

using nlohmann::json;

std::string jsonString(std::string_view text) {
    TextBuffer out;
    appendJsonString(out, text);
    return std::string(out.view());
}

std::string jsonNumber(double value) {
    TextBuffer out;
    appendJsonNumber(out, value);
    return std::string(out.view());
}

TEST(JsonText, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(jsonString("a\"b\\c/d"), R"("a\"b\\c/d")");
    EXPECT_EQ(jsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
    EXPECT_EQ(jsonString(std::string_view("\x01\x1F\x00", 3)), R"("\u0001\u001f\u0000")");
    EXPECT_EQ(jsonString("\x7F"), "\"\x7F\"");
}

// Texture names are bytes from a model file: whatever they hold, the
// document stays valid UTF-8.
TEST(JsonText, KeepsUtf8AndReplacesBytesThatAreNot) {
    const std::string kept = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x99\x82\xEF\xBF\xBF";
    EXPECT_EQ(jsonString(kept), "\"" + kept + "\"");
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(jsonString("caf\xE9"), "\"caf" + replacement + "\"");                          // Latin-1
    EXPECT_EQ(jsonString("\xC3"), "\"" + replacement + "\"");                                 // cut short
    EXPECT_EQ(jsonString("\xC0\xAF"), "\"" + replacement + replacement + "\"");               // overlong
    EXPECT_EQ(jsonString("\xED\xA0\x80"), "\"" + replacement + replacement + replacement + "\"");  // surrogate
    EXPECT_EQ(jsonString("\xF4\x90\x80\x80"), "\"" + replacement + replacement + replacement + replacement + "\"");  // past U+10FFFF
    EXPECT_EQ(jsonString("\x80x"), "\"" + replacement + "x\"");
}

TEST(JsonText, NumbersReadBackExactlyInTheShortestForm) {
    EXPECT_EQ(jsonNumber(0.1), "0.1");
    EXPECT_EQ(jsonNumber(1.0), "1");
    EXPECT_EQ(jsonNumber(200.0 / 255.0), "0.7843137254901961");
    for (const double value : {1.0 / 3.0, -2.5e-308, 5e-324, 1.7976931348623157e308, -0.0, 123456789.125,
                               static_cast<double>(0.1f), -static_cast<double>(std::numeric_limits<float>::max())}) {
        const std::string text = jsonNumber(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
        EXPECT_EQ(json::parse(text).get<double>(), value) << text;
    }
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(jsonNumber(-std::numeric_limits<double>::infinity()), "0");
}

TEST(UriText, EncodesEveryByteThatIsNotPlainInAFileName) {
    EXPECT_EQ(fileNameUri("brick-wall_2.v1~a.png"), "brick-wall_2.v1~a.png");
    EXPECT_EQ(fileNameUri("roof tiles #2 100%.png"), "roof%20tiles%20%232%20100%25.png");
    EXPECT_EQ(fileNameUri("a?b/c\\d:e\"f<g>.png"), "a%3Fb%2Fc%5Cd%3Ae%22f%3Cg%3E.png");
    EXPECT_EQ(fileNameUri("fen\xC3\xAAtre \xFF.png"), "fen%C3%AAtre%20%FF.png");
    EXPECT_EQ(fileNameUri("(1)&'+,;=@!$*.png"), "(1)&'+,;=@!$*.png");
}

std::string attributeValue(std::string_view text) {
    TextBuffer out;
    appendXmlAttributeValue(out, text);
    return std::string(out.view());
}

TEST(XmlText, EscapesMarkupAndKeepsUtf8) {
    EXPECT_EQ(attributeValue("a&b<c>d\"e'f/\\ ~"), "a&amp;b&lt;c&gt;d&quot;e&apos;f/\\ ~");
    EXPECT_EQ(attributeValue("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x99\x82\x7F"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x99\x82\x7F");
    EXPECT_EQ(attributeValue("a\tb\nc\rd"), "a&#9;b&#10;c&#13;d");
}

// Whatever bytes a model file holds, the document stays well formed.
TEST(XmlText, BytesXmlCannotCarryAreMadeCharacters) {
    EXPECT_EQ(attributeValue("caf\xE9"), "caf\xC3\xA9");                  // Latin-1
    EXPECT_EQ(attributeValue("\xC3"), "\xC3\x83");                       // cut-short sequence
    EXPECT_EQ(attributeValue("\xC0\xAF"), "\xC3\x80\xC2\xAF");          // overlong
    EXPECT_EQ(attributeValue("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // surrogate
    EXPECT_EQ(attributeValue("\xEF\xBF\xBE"), "\xC3\xAF\xC2\xBF\xC2\xBE");  // U+FFFE
    EXPECT_EQ(attributeValue("a\x07\x1F"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zelvane
