// Checks that hold for the outputs of any successful run, whatever the model:
// faces refer only to lines that exist and every material in use is defined.
// Each check returns a description of the first problem, or "" when there is
// none. Shared by the sweep tests and the fuzz target, so it uses no test
// framework.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace zelvane::test {

// Every face line of the OBJ text has 3 or 4 corners, and every corner's
// position, texture coordinate and normal number lies within the v, vt and vn
// lines of the same text (a texture coordinate may be left out).
std::string objFaceProblem(std::string_view obj);

// The number of "f" lines of an OBJ text.
size_t faceLineCount(std::string_view obj);

// Every material named by a "usemtl" line of the OBJ text is defined by a
// "newmtl" line of the MTL text, and no material is used twice.
std::string materialProblem(std::string_view obj, std::string_view mtl);

// A scene in a folder, given as file name to contents: every mesh file the
// scene document names exists, names the document as its library and passes
// objFaceProblem, every shader it refers to is defined, and the folder holds
// no mesh file or temporary file beyond those.
std::string sceneProblem(const std::map<std::string, std::string>& files, const std::string& sceneName);

}  // namespace zelvane::test
