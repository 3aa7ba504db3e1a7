// libFuzzer target: any bytes as a MAG5 model, through loading, merging,
// grouping and both exporters, as one run of the converter would take them.
//
// Loading must leave the store consistent (every polygon index within its
// array), whether the model loads or not. A model that loads must then export
// both ways with well-formed files: every face corner within the v, vt and vn
// lines of its file, every material and shader in use defined, the face count
// on the console right, no temporary file left behind. Anything else aborts,
// and so does every fault the sanitizers see.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "StoreCheck.h"
#include "OutputCheck.h"
#include "TempFolder.h"
#include "ModelWriting.h"
#include "mag5/Mag5Loader.h"
#include "mesh/MeshStore.h"
#include "obj/ObjWriter.h"
#include "scene/SceneWriter.h"

namespace {

using zelvane::MeshStore;

using zelvane::fuzz::checkStore;
using zelvane::fuzz::fail;

void expectNoProblem(const std::string& problem) {
    if (!problem.empty()) {
        fail(problem);
    }
}

// The files of one run: the model, and a folder for each exporter. All in a
// folder of this process's own, emptied after every input.
struct Scratch {
    zelvane::test::TempFolder root{zelvane::test::memoryTemporaryFolder()};
    std::string model = root.file("model.mag");
    std::string objFolder = root.file("obj");
    std::string sceneFolder = root.file("scene");

    Scratch() {
        std::filesystem::create_directory(objFolder);
        std::filesystem::create_directory(sceneFolder);
    }

    void empty() const {
        for (const std::string& folder : {objFolder, sceneFolder}) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                std::filesystem::remove(entry.path());
            }
        }
    }
};

Scratch& scratch() {
    static Scratch folders;
    return folders;
}

void exportAsObj(const MeshStore& store) {
    const Scratch& folders = scratch();
    const zelvane::test::ModelWriting written =
        zelvane::test::writeModel(zelvane::kObjWriter, store, folders.objFolder + "/model");
    if (const auto& failure = written.failure) {
        fail("OBJ export failed: " + failure->path + ": " + failure->reason);
    }
    const auto files = zelvane::test::folderContents(folders.objFolder);
    if (files.size() != 2) {
        fail("OBJ export left " + std::to_string(files.size()) + " files");
    }
    const std::string& obj = files.at("model.obj");
    expectNoProblem(zelvane::test::objFaceProblem(obj));
    expectNoProblem(zelvane::test::materialProblem(obj, files.at("model.mtl")));
    const std::string faces = std::to_string(zelvane::test::faceLineCount(obj));
    const std::string counted = written.count ? std::to_string(*written.count) : "nothing";
    if (counted != faces || faces != std::to_string(store.polygons.size())) {
        fail("OBJ file has " + faces + " faces; the count line says " + counted);
    }
}

void exportAsScene(const MeshStore& store) {
    const Scratch& folders = scratch();
    if (const auto failure =
            zelvane::test::writeModel(zelvane::kSceneWriter, store, folders.sceneFolder + "/model").failure) {
        fail("scene export failed: " + failure->path + ": " + failure->reason);
    }
    expectNoProblem(zelvane::test::sceneProblem(zelvane::test::folderContents(folders.sceneFolder), "model.xml"));
}

// Loads the scratch model into the store; false when it does not load.
bool load(MeshStore& store) {
    const zelvane::LoadResult result = zelvane::loadMagFile(scratch().model, store);
    checkStore(store);  // also what a failed load left behind
    return !result.error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Scratch& folders = scratch();
    zelvane::test::writeFile(folders.model, std::vector<uint8_t>(data, data + size));
    MeshStore store;
    if (load(store)) {
        store.mergeDuplicates();
        store.groupByMaterial();
        exportAsObj(store);
        exportAsScene(store);
    }
    folders.empty();
    return 0;
}
