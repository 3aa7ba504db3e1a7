// What the converter writes for smallModel(), in both modes, with group
// identifiers replaced by <G1>, <G2> (see GroupIdNames).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Zelvane.h"

namespace zelvane::test {

inline constexpr const char* kSmallVertexLines =
    "v 0.000000 0.000000 0.000000\nv 1.000000 0.000000 0.000000\n"
    "v 1.000000 1.000000 0.000000\nv 0.000000 1.000000 0.000000\n"
    "vt 0.000000 1.000000 0.000000\nvt 0.250000 0.875000 0.000000\nvt 0.500000 0.750000 0.000000\n"
    "vn 0.000000 0.000000 1.000000\n";

// The OBJ file, naming its material library.
inline std::string smallObj(const std::string& library) {
    return "mtllib " + library + "\n\n" + kSmallVertexLines +
           "\n"
           "\nusemtl tex<G1>\n\nf 1//1 2//1 3//1 4//1 \n"
           "\nusemtl tex<G2>\n\nf 1/1/1 2/2/1 3/3/1 \n";
}

inline constexpr const char* kSmallMtl =
    "newmtl default\n  Ka 1.0 1.0 1.0\n  Kd 0.5 0.5 0.5\n  Ks 0.1 0.1 0.1\n  illum 2\n  Ns 200.0\n"
    "\nnewmtl tex<G1>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 0.000000 0.000000 1.000000\n"
    "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n\n"
    "\nnewmtl tex<G2>\n\n  d 1\n  Ka 0.1 0.1 0.1\n  Kd 1.000000 0.501961 0.000000\n"
    "  Ks 0.0 0.0 0.0\n  illum 0\n  Ns 0.0\n       map_Kd roof.pcx\n\n";

inline constexpr const char* kSceneHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<QuazoScene xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:noNamespaceSchemaLocation=\"../../schemas/quazoscene.xsd\">\n"
    "\t<Frame>\n";

inline std::string sceneShader(const std::string& id, const std::string& image) {
    return "\n\t\t\t<SurfaceShader name=\"" + id + "\">\n\t\t\t\t<Reflectance>\n\t\t\t\t\t<ImageTexture href=\"" +
           image + "\"/>\n\t\t\t\t</Reflectance>\n\t\t\t</SurfaceShader>\n\n";
}

inline std::string sceneMeshObject(const std::string& id) {
    return "\n\t\t\t<Object type=\"mesh\">\n\t\t\t\t<Parameter name=\"href\" value=\"" + id +
           ".obj\"/>\n\t\t\t\t<Parameter name=\"surfaceshader\" value=\"" + id + "\"/>\n\t\t\t</Object>\n\n";
}

// The scene of smallModel() and its two mesh files, in the given folder.
inline void expectSmallScene(const std::string& folder, const std::string& sceneName) {
    const auto files = folderContents(folder);
    ASSERT_EQ(files.size(), 4u) << folder;  // model, scene, two meshes
    ASSERT_EQ(files.count(sceneName), 1u) << sceneName;
    GroupIdNames ids;
    EXPECT_EQ(ids.replaceIn(files.at(sceneName)),
              outputText(kSceneHead + sceneShader("<G1>", "") + sceneShader("<G2>", "roof.pcx") +
                         sceneMeshObject("<G1>") + sceneMeshObject("<G2>") + "\t</Frame>\n</QuazoScene>\n"));
    const std::string head = "mtllib " + sceneName + "\n\n" + kSmallVertexLines + "\n";
    std::map<std::string, std::string> meshes;
    for (const auto& [name, text] : files) {
        if (name.ends_with(".obj")) meshes[ids.replaceIn(name)] = text;
    }
    EXPECT_EQ(meshes["<G1>.obj"], outputText(head + "f 1//1 2//1 3//1 4//1 \n"));
    EXPECT_EQ(meshes["<G2>.obj"], outputText(head + "f 1/1/1 2/2/1 3/3/1 \n"));
    EXPECT_EQ(ids.count(), 2u);
}

}  // namespace zelvane::test
