// Windows only: paths are UTF-8 inside the converter and UTF-16 at the
// system's wide (...W) functions; these are the one place they change form.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

#include "unicode/Utf16Text.h"

namespace zelvane {

// The name Windows knows the file by.
inline std::wstring widePath(const std::string& path) {
    const std::u16string units = utf16FromUtf8(path);
    return std::wstring(units.begin(), units.end());
}

// The UTF-8 form of a name from the system.
inline std::string narrowPath(std::wstring_view wide) {
    return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace zelvane

#endif
