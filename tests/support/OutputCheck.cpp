#include "OutputCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace zelvane::test {
namespace {

// Calls visit(line) for every line of text, without its "\n".
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        visit(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The counts of "v", "vt" and "vn" lines.
std::array<size_t, 3> vertexLineCounts(std::string_view obj) {
    std::array<size_t, 3> counts{};
    forEachLine(obj, [&](std::string_view line) {
        counts[0] += startsWith(line, "v ");
        counts[1] += startsWith(line, "vt ");
        counts[2] += startsWith(line, "vn ");
    });
    return counts;
}

// A one-based number that must lie in [1, count]; empty only where allowed.
bool numberWithin(std::string_view digits, size_t count, bool mayBeEmpty) {
    if (digits.empty()) {
        return mayBeEmpty;
    }
    if (digits.size() > 19) {
        return false;
    }
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value >= 1 && value <= count;
}

// One corner "p/t/n" of a face line.
bool cornerWithin(std::string_view corner, const std::array<size_t, 3>& counts) {
    const size_t first = corner.find('/');
    const size_t second = first == std::string_view::npos ? first : corner.find('/', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    return numberWithin(corner.substr(0, first), counts[0], false) &&
           numberWithin(corner.substr(first + 1, second - first - 1), counts[1], true) &&
           numberWithin(corner.substr(second + 1), counts[2], false);
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> found;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) {
            found.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return found;
}

std::string faceLineProblem(std::string_view line, const std::array<size_t, 3>& counts) {
    const std::vector<std::string_view> corners = words(line.substr(2));
    if (corners.size() != 3 && corners.size() != 4) {
        return "face without 3 or 4 corners: " + std::string(line);
    }
    for (std::string_view corner : corners) {
        if (!cornerWithin(corner, counts)) {
            return "face corner " + std::string(corner) + " outside " + std::to_string(counts[0]) + " v, " +
                   std::to_string(counts[1]) + " vt, " + std::to_string(counts[2]) + " vn";
        }
    }
    return {};
}

// Every value of attribute="..." that follows the given opening text.
std::vector<std::string> valuesAfter(std::string_view text, std::string_view opening) {
    std::vector<std::string> values;
    for (size_t at = text.find(opening); at != std::string_view::npos; at = text.find(opening, at + 1)) {
        const size_t start = at + opening.size();
        const size_t end = text.find('"', start);
        values.emplace_back(text.substr(start, end - start));
    }
    return values;
}

bool isMeshFileName(const std::string& name) {
    if (name.size() <= 4 || !name.ends_with(".obj")) {
        return false;
    }
    for (size_t index = 0; index + 4 < name.size(); ++index) {
        const char c = name[index];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::string meshProblem(const std::map<std::string, std::string>& files, const std::string& meshName,
                        const std::string& sceneName) {
    const auto mesh = files.find(meshName);
    if (mesh == files.end()) {
        return "the scene names " + meshName + ", which is missing";
    }
    if (!startsWith(mesh->second, "mtllib " + sceneName + "\n")) {
        return meshName + " does not name " + sceneName + " as its library";
    }
    const std::string problem = objFaceProblem(mesh->second);
    return problem.empty() ? problem : meshName + ": " + problem;
}

std::string folderProblem(const std::map<std::string, std::string>& files, const std::set<std::string>& meshes) {
    for (const auto& [name, text] : files) {
        if (name.ends_with(".tmp")) {
            return "temporary file left behind: " + name;
        }
        if (isMeshFileName(name) && meshes.count(name) == 0) {
            return "mesh file that the scene does not name: " + name;
        }
    }
    return {};
}

}  // namespace

std::string objFaceProblem(std::string_view obj) {
    const std::array<size_t, 3> counts = vertexLineCounts(obj);
    std::string problem;
    forEachLine(obj, [&](std::string_view line) {
        if (problem.empty() && startsWith(line, "f ")) {
            problem = faceLineProblem(line, counts);
        }
    });
    return problem;
}

size_t faceLineCount(std::string_view obj) {
    size_t count = 0;
    forEachLine(obj, [&](std::string_view line) { count += startsWith(line, "f "); });
    return count;
}

std::string materialProblem(std::string_view obj, std::string_view mtl) {
    std::set<std::string_view> defined;
    forEachLine(mtl, [&](std::string_view line) {
        if (startsWith(line, "newmtl ")) {
            defined.insert(line.substr(7));
        }
    });
    std::set<std::string_view> used;
    std::string problem;
    forEachLine(obj, [&](std::string_view line) {
        if (!problem.empty() || !startsWith(line, "usemtl ")) {
            return;
        }
        const std::string_view name = line.substr(7);
        if (defined.count(name) == 0) {
            problem = "material " + std::string(name) + " is used but not defined";
        } else if (!used.insert(name).second) {
            problem = "material " + std::string(name) + " is used twice";
        }
    });
    return problem;
}

std::string sceneProblem(const std::map<std::string, std::string>& files, const std::string& sceneName) {
    const auto scene = files.find(sceneName);
    if (scene == files.end()) {
        return "no scene document " + sceneName;
    }
    const std::string& xml = scene->second;
    if (!startsWith(xml, "<?xml ") || !xml.ends_with("</QuazoScene>\n")) {
        return "scene document is not complete";
    }
    const std::vector<std::string> shaders = valuesAfter(xml, "<SurfaceShader name=\"");
    const std::set<std::string> shaderNames(shaders.begin(), shaders.end());
    for (const std::string& used : valuesAfter(xml, "<Parameter name=\"surfaceshader\" value=\"")) {
        if (shaderNames.count(used) == 0) {
            return "shader " + used + " is used but not defined";
        }
    }
    const std::vector<std::string> meshes = valuesAfter(xml, "<Parameter name=\"href\" value=\"");
    const std::set<std::string> meshNames(meshes.begin(), meshes.end());
    if (meshNames.size() != meshes.size() || shaderNames.size() != shaders.size()) {
        return "two groups share an identifier";
    }
    for (const std::string& mesh : meshes) {
        if (std::string problem = meshProblem(files, mesh, sceneName); !problem.empty()) {
            return problem;
        }
    }
    return folderProblem(files, meshNames);
}

}  // namespace zelvane::test
