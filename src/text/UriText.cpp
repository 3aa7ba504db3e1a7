#include "UriText.h"

#include "NumberFormat.h"

namespace zelvane {
namespace {

bool keptInUri(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("-._~!$&'()*+,;=@").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string fileNameUri(std::string_view fileName) {
    std::string uri;
    uri.reserve(fileName.size());
    for (const char character : fileName) {
        const auto c = static_cast<unsigned char>(character);
        if (keptInUri(c)) {
            uri.push_back(character);
        } else {
            uri.push_back('%');
            uri.push_back(kUpperHexDigits[c >> 4]);
            uri.push_back(kUpperHexDigits[c & 0xF]);
        }
    }
    return uri;
}

}  // namespace zelvane
