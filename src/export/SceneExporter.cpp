#include <string>
#include <string_view>

#include "Export.h"
#include "FaceLine.h"
#include "os/PathText.h"
#include "VertexLines.h"
#include "XmlText.h"

namespace zelvane {
namespace {

constexpr std::string_view kSceneHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<QuazoScene xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:noNamespaceSchemaLocation=\"../../schemas/quazoscene.xsd\">\n"
    "\t<Frame>\n";
constexpr std::string_view kSceneTail =
    "\t</Frame>\n"
    "</QuazoScene>\n";

std::string groupFileName(const MaterialGroups::value_type& group) {
    TextBuffer name;
    name.appendHex(groupId(group));
    name.append(".obj");
    return std::string(name.view());
}

void writeSurfaceShader(TextBuffer& out, const MeshStore& store, const TextureFiles& textures,
                        const MaterialGroups::value_type& group) {
    out.append("\n\t\t\t<SurfaceShader name=\"");
    out.appendHex(groupId(group));
    out.append("\">\n\t\t\t\t<Reflectance>\n");
    // Untextured groups name the empty texture; only a texture the model
    // does not have leaves the reflectance without an image.
    if (const std::string* image = imageReference(store, textures, group.first.texture)) {
        out.append("\t\t\t\t\t<ImageTexture href=\"");
        appendXmlAttributeValue(out, *image);
        out.append("\"/>\n");
    }
    out.append("\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n");
}

void writeMeshObject(TextBuffer& out, const MaterialGroups::value_type& group) {
    out.append("\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"");
    appendXmlAttributeValue(out, groupFileName(group));
    out.append("\"/>\n\t\t\t\t<Parameter name=\"surfaceshader\" value=\"");
    out.appendHex(groupId(group));
    out.append("\"/>\n\t\t\t</Object>\n\n");
}

// A group's mesh file: the library line naming the scene, the vertex lines
// of the whole model (formatted once for all groups), and the group's faces.
void writeGroupMesh(OutputFile& file, const MeshStore& store, const GroupPolygons& polygons,
                    std::string_view sceneName, const TextBuffer& vertexLines, const PieceSizes& pieceSizes) {
    file.text().append("mtllib ");
    file.text().append(sceneName);
    file.text().append("\n\n");
    file.write(vertexLines.view());
    file.text().append('\n');
    TextPieces faces(pieceSizes);
    addFaceLines(faces, store.polygons, polygons);
    faces.write([&](std::string_view text) { file.write(text); });
}

TextBuffer formatVertexLines(const MeshStore& store, const PieceSizes& pieceSizes) {
    TextPieces lines(pieceSizes);
    addVertexLines(lines, store);
    TextBuffer text;
    lines.write([&](std::string_view piece) { text.append(piece); });
    return text;
}

}  // namespace

bool writeScene(OutputSet& outputs, const MeshStore& store, const TextureFiles& textures, const std::string& xmlPath,
                const PieceSizes& pieceSizes) {
    OutputFile* scene = outputs.create(xmlPath);
    if (scene == nullptr) {
        return false;
    }
    scene->text().append(kSceneHead);
    for (const auto& group : store.groups) {
        writeSurfaceShader(scene->text(), store, textures, group);
    }
    const TextBuffer vertexLines = formatVertexLines(store, pieceSizes);
    const std::string folder(folderPart(xmlPath));
    for (const auto& group : store.groups) {
        writeMeshObject(scene->text(), group);
        scene->flushIfLarge();
        OutputFile* mesh = outputs.create(folder + groupFileName(group));
        if (mesh == nullptr) {
            return false;
        }
        writeGroupMesh(*mesh, store, group.second, fileNamePart(xmlPath), vertexLines, pieceSizes);
        if (!outputs.close(*mesh)) {
            return false;
        }
    }
    scene->text().append(kSceneTail);
    return true;
}

std::optional<OutputError> exportScene(const MeshStore& store, const std::string& xmlPath,
                                       const PieceSizes& pieceSizes) {
    OutputSet outputs;
    if (!writeScene(outputs, store, TextureFiles{}, xmlPath, pieceSizes) || !outputs.commit()) {
        return outputs.error();
    }
    return std::nullopt;
}

}  // namespace zelvane
