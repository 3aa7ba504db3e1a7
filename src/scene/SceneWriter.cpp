#include "SceneWriter.h"

#include <string>
#include <string_view>

#include "obj/FaceLine.h"
#include "obj/VertexLines.h"
#include "os/PathText.h"
#include "text/XmlText.h"
#include "textures/TextureFileOutput.h"

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
                    std::string_view sceneName, const TextBuffer& vertexLines) {
    file.text().append("mtllib ");
    file.text().append(sceneName);
    file.text().append("\n\n");
    file.write(vertexLines.view());
    file.text().append('\n');
    TextPieces faces;
    addFaceLines(faces, store.polygons, polygons);
    faces.write([&](std::string_view text) { file.write(text); });
}

TextBuffer formatVertexLines(const MeshStore& store) {
    TextPieces lines;
    addVertexLines(lines, store);
    TextBuffer text;
    lines.write([&](std::string_view piece) { text.append(piece); });
    return text;
}

}  // namespace

bool writeScene(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) {
    const MeshStore& store = model.store;
    const std::string xmlPath = model.basePath + ".xml";
    const std::string folder(folderPart(xmlPath));
    if (!writeTextureFiles(outputs, model.textures, folder)) {
        return false;
    }
    OutputFile* scene = outputs.create(xmlPath);
    if (scene == nullptr) {
        return false;
    }
    scene->text().append(kSceneHead);
    for (const auto& group : store.groups) {
        writeSurfaceShader(scene->text(), store, model.textures, group);
    }
    const TextBuffer vertexLines = formatVertexLines(store);
    for (const auto& group : store.groups) {
        writeMeshObject(scene->text(), group);
        scene->flushIfLarge();
        OutputFile* mesh = outputs.create(folder + groupFileName(group));
        if (mesh == nullptr) {
            return false;
        }
        writeGroupMesh(*mesh, store, group.second, fileNamePart(xmlPath), vertexLines);
        if (!outputs.close(*mesh)) {
            return false;
        }
    }
    scene->text().append(kSceneTail);
    polygonCount(store.polygons.size());
    return true;
}

}  // namespace zelvane
