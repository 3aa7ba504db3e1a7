#pragma once

#include <istream>
#include <streambuf>
#include <string_view>

namespace zelvane {

// A stream that reads text already in memory, without copying it.
class MemoryStream : private std::streambuf, public std::istream {
public:
    explicit MemoryStream(std::string_view text) : std::istream(this) {
        char* begin = const_cast<char*>(text.data());  // only ever read through the get area
        setg(begin, begin, begin + text.size());
    }
};

}  // namespace zelvane
