#pragma once

#include <string>
#include <string_view>

namespace zelvane {

// A file name as a relative URI reference to that file beside the document:
// every byte other than an ASCII letter, a digit and "-._~!$&'()*+,;=@" is
// percent-encoded (the blank, "%", "#", "?", "/", "\", ":" and every
// non-ASCII byte among them), so that the reference names the file and
// nothing else, whatever its bytes.
std::string fileNameUri(std::string_view fileName);

}  // namespace zelvane
