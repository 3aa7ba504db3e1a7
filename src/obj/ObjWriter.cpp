#include "ObjWriter.h"

#include <string>
#include <string_view>

#include "FaceLine.h"
#include "VertexLines.h"
#include "os/PathText.h"
#include "textures/TextureFileOutput.h"

namespace zelvane {
namespace {

std::string useMaterialLine(const MaterialGroups::value_type& group) {
    TextBuffer line;
    line.append("\nusemtl tex");
    line.appendHex(groupId(group));
    line.append("\n\n");
    return std::string(line.view());
}

void writeObjBody(OutputFile& file, const MeshStore& store, std::string_view materialLibrary) {
    TextPieces body;
    body.addText("mtllib " + std::string(materialLibrary) + "\n\n");
    addVertexLines(body, store);
    body.addText("\n");
    for (const auto& group : store.groups) {
        body.addText(useMaterialLine(group));
        addFaceLines(body, store.polygons, group.second);
    }
    body.write([&](std::string_view text) { file.write(text); });
}

constexpr std::string_view kDefaultMaterial =
    "newmtl default\n"
    "  Ka 1.0 1.0 1.0\n"
    "  Kd 0.5 0.5 0.5\n"
    "  Ks 0.1 0.1 0.1\n"
    "  illum 2\n"
    "  Ns 200.0\n";

void writeGroupMaterial(TextBuffer& out, const MeshStore& store, const TextureFiles& textures,
                        const MaterialGroups::value_type& group) {
    const Material& material = group.first;
    out.append("\nnewmtl tex");
    out.appendHex(groupId(group));
    out.append("\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd ");
    out.appendFixed6(material.colour[0]);
    out.append(' ');
    out.appendFixed6(material.colour[1]);
    out.append(' ');
    out.appendFixed6(material.colour[2]);
    out.append("\n  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n");
    const std::string* image = imageReference(store, textures, material.texture);
    if (material.textured() && image != nullptr) {
        out.append("       map_Kd ");
        out.append(*image);
        out.append('\n');
    }
    out.append('\n');
}

void writeMaterialLibrary(OutputFile& file, const MeshStore& store, const TextureFiles& textures) {
    file.text().append(kDefaultMaterial);
    for (const auto& group : store.groups) {
        writeGroupMaterial(file.text(), store, textures, group);
        file.flushIfLarge();
    }
}

}  // namespace

bool writeObj(OutputSet& outputs, const ModelOutput& model, const PolygonCount& polygonCount) {
    const std::string mtlPath = model.basePath + ".mtl";
    if (!writeTextureFiles(outputs, model.textures, std::string(folderPart(model.basePath)))) {
        return false;
    }
    OutputFile* obj = outputs.create(model.basePath + ".obj");
    if (obj == nullptr) {
        return false;
    }
    // The OBJ file names its library by file name: readers look for it
    // beside the OBJ file, where it is written.
    writeObjBody(*obj, model.store, fileNamePart(mtlPath));
    if (!outputs.close(*obj)) {
        return false;
    }
    polygonCount(model.store.polygons.size());
    OutputFile* mtl = outputs.create(mtlPath);
    if (mtl == nullptr) {
        return false;
    }
    writeMaterialLibrary(*mtl, model.store, model.textures);
    return true;
}

}  // namespace zelvane
