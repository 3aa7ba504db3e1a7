#include "BenchModel.h"

#include "Families.h"

namespace zelvane::tools {

std::string_view familyName(ModelFamily family) {
    switch (family) {
        case ModelFamily::shared: return "shared";
        case ModelFamily::smooth: return "smooth";
        case ModelFamily::flat: return "flat";
    }
    return "";
}

std::optional<ModelFamily> parseFamily(std::string_view name) {
    for (ModelFamily family : allFamilies()) {
        if (familyName(family) == name) return family;
    }
    return std::nullopt;
}

const std::vector<ModelFamily>& allFamilies() {
    static const std::vector<ModelFamily> families{ModelFamily::shared, ModelFamily::smooth, ModelFamily::flat};
    return families;
}

size_t textureCount(ModelFamily family) {
    switch (family) {
        case ModelFamily::shared: return sharedTerrainTextures();
        case ModelFamily::smooth: return smoothSurfaceTextures();
        case ModelFamily::flat: return flatFacetsTextures();
    }
    return 0;
}

bool writeBenchModel(ModelFamily family, uint32_t polygonCount, const BenchModelFiles& files) {
    switch (family) {
        case ModelFamily::shared: return writeSharedTerrain(polygonCount, files);
        case ModelFamily::smooth: return writeSmoothSurface(polygonCount, files);
        case ModelFamily::flat: return writeFlatFacets(polygonCount, files);
    }
    return false;
}

}  // namespace zelvane::tools
