// Drawing the model into one strip of samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "GroupPaint.h"
#include "ModelFrame.h"
#include "SampleStrip.h"
#include "ScreenMapping.h"
#include "mesh/MeshStore.h"
#include "os/LargeAllocator.h"

namespace zelvane::picture {

// What every strip draws from, read only while they draw.
struct PictureScene {
    const MeshStore& store;
    ModelFrame frame;
    ScreenMapping mapping;
    LargeVector<ScreenPoint> screenPoints;  // per store position (see ProjectedPositions.h)
    std::vector<GroupPaint> paints;         // per material group, in group order
    PaletteFactorsOfImages paletteFactors;  // which the paints point into
};

// The polygons [first, end) of the order that paintStrip draws in: the
// groups one after another, each group's polygons in order.
struct PolygonShare {
    size_t first = 0;
    size_t end = SIZE_MAX;
};

// Draws the share's triangles into the strip, in that order. Every strip
// draws the same triangles in the same order, so a sample's colour does not
// depend on how the picture is cut.
void paintStrip(const PictureScene& scene, SampleStrip& strip, const PolygonShare& share = {});

}  // namespace zelvane::picture
