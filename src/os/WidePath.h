// Windows only: paths are UTF-8 inside the converter and UTF-16 at the
// system's wide (...W) functions.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace zelvane {

// The UTF-16 form of a UTF-8 path; empty when the bytes are not UTF-8.
inline std::wstring widePath(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), length);
    return wide;
}

// The UTF-8 form of a UTF-16 path from the system.
inline std::string narrowPath(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, path.data(), length, nullptr, nullptr);
    return path;
}

}  // namespace zelvane

#endif
