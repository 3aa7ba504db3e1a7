#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "Picture.h"
#include "ProjectedPositions.h"
#include "SideBySide.h"
#include "StripPainter.h"
#include "StripPlan.h"

namespace zelvane {

namespace {

using picture::PictureScene;
using picture::SampleStrip;
using picture::StripPlan;

std::vector<picture::GroupPaint> paintsOfGroups(const MeshStore& store,
                                                const std::vector<const Image*>& imageOfTexture) {
    std::vector<picture::GroupPaint> paints;
    for (const auto& group : store.groups) {
        paints.push_back(picture::paintOf(group.first, imageOfTexture));
    }
    return paints;
}

// Each thread draws a share of the strips, one after another in the memory
// of one strip, set aside before the threads start.
void paintStrips(const PictureScene& scene, const StripPlan& plan, unsigned threads, Image& result) {
    std::vector<SampleStrip> strips;
    strips.reserve(threads);
    for (unsigned thread = 0; thread < threads; ++thread) {
        strips.emplace_back(result.width, plan.tallest());
    }
    picture::runSideBySide(threads, [&](unsigned thread) {
        SampleStrip& strip = strips[thread];
        for (uint32_t k = plan.count() * thread / threads; k < plan.count() * (thread + 1) / threads; ++k) {
            strip.startRows(plan.firstRow(k), plan.firstRow(k + 1));
            picture::paintStrip(scene, strip);
            strip.resolveInto(result);
        }
    });
}

// The positions are projected side by side too, each thread a share.
void projectAllPositions(PictureScene& scene, unsigned threads) {
    const size_t positions = scene.store.positions.size();
    scene.screenPoints.resize(positions);
    picture::runSideBySide(threads, [&](unsigned thread) {
        picture::projectPositions(scene.store, scene.frame, scene.mapping, positions * thread / threads,
                                  positions * (thread + 1) / threads, scene.screenPoints);
    });
}

}  // namespace

Image renderPicture(const MeshStore& store, const std::vector<const Image*>& imageOfTexture, uint32_t size,
                    unsigned threads) {
    if (size > kLargestPictureSide) {
        throw std::invalid_argument("a picture side above " + std::to_string(kLargestPictureSide));
    }
    Image result{size, size, PixelFormat::kRgba, {}, std::vector<uint8_t>(size_t{size} * size * 4)};
    const std::optional<picture::Box> box = picture::boxOfUsedPositions(store);
    if (!box || size == 0) {
        return result;
    }
    const unsigned threadCount = std::clamp(threads, 1u, size);
    PictureScene scene{store, picture::ModelFrame(*box), picture::ScreenMapping(size * picture::kSamplesPerPixelSide),
                       {}, paintsOfGroups(store, imageOfTexture)};
    projectAllPositions(scene, threadCount);
    paintStrips(scene, StripPlan(size, store.polygons.size(), threadCount), threadCount, result);
    return result;
}

}  // namespace zelvane
