#include "unicode/Utf16Text.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

TEST(Utf16Text, ConvertsEveryPlaneBothWays) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"plain.mag", u"plain.mag"},
        {"\x7F\xC2\x80\xC3\xA9t\xC3\xA9", u"\u007F\u0080\u00E9t\u00E9"},      // Latin-1
        {"\xD0\xB4\xD0\xBE\xD0\xBC\xDF\xBF", u"\u0434\u043E\u043C\u07FF"},  // Cyrillic, last of two bytes
        {"\xE0\xA0\x80\xE8\xA1\xA8\xEF\xBF\xBF", u"\u0800\u8868\uFFFF"},    // CJK between the ends of three bytes
        {"\xF0\x9F\x8F\xA0\xF4\x8F\xBF\xBF\xF0\x90\x80\x80", u"\U0001F3E0\U0010FFFF\U00010000"},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(utf16FromUtf8(utf8), utf16) << utf8;
        EXPECT_EQ(utf8FromUtf16(utf16), utf8) << utf8;
    }
}

TEST(Utf16Text, SurrogateWithoutItsPartnerComesBackUnchanged) {
    const std::u16string names[] = {
        {u'a', char16_t(0xD83C)},                     // high surrogate at the end
        {char16_t(0xDFE0), u'b'},                     // low surrogate first
        {char16_t(0xDFE0), char16_t(0xD83C), u'.'},   // the pair the wrong way round
        {char16_t(0xD83C), char16_t(0xD83C), char16_t(0xDFE0)},  // a high one, then a pair
    };
    for (const std::u16string& name : names) {
        EXPECT_EQ(utf16FromUtf8(utf8FromUtf16(name)), name);
    }
    EXPECT_EQ(utf8FromUtf16(names[0]), "a\xED\xA0\xBC");
    EXPECT_EQ(utf8FromUtf16(names[3]), "\xED\xA0\xBC\xF0\x9F\x8F\xA0");
}

TEST(Utf16Text, MalformedBytesBecomeReplacementCharacters) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"a\x80z", u"a\uFFFDz"},                      // a continuation byte alone
        {"\xE8\xA1z", u"\uFFFDz"},                    // a sequence cut short: one character
        {"\xE8\xA1", u"\uFFFD"},                      // cut short by the end
        {"\xC0\xAF\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // longer than the value needs
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},            // past U+10FFFF
        {"\xF8\x88\x80\x80\x80\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(utf16FromUtf8(utf8), utf16) << testing::PrintToString(utf8);
    }
}

}  // namespace
}  // namespace zelvane
