#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
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
                                                const std::vector<const Image*>& imageOfTexture,
                                                picture::PaletteFactorsOfImages& factors) {
    std::vector<picture::GroupPaint> paints;
    for (const auto& group : store.groups) {
        paints.push_back(picture::paintOf(group.first, imageOfTexture, factors));
    }
    return paints;
}

// Lets the threads hand on their strips in the picture's order: the
// strip's thread waits for the strips above it to be handed on first.
class StripTurns {
public:
    template <typename HandOn>
    void handOnInTurn(uint32_t strip, HandOn&& handOn) {
        std::unique_lock lock(mutex_);
        turnChanged_.wait(lock, [&] { return next_ == strip; });
        lock.unlock();
        handOn();
        lock.lock();
        next_ = strip + 1;
        turnChanged_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable turnChanged_;
    uint32_t next_ = 0;
};

// The memory a thread draws its strips in, one after another.
struct StripRoom {
    SampleStrip samples;
    std::vector<uint8_t> pixels;
};

// The threads take the strips from the top, each the next one not taken,
// and hand on its rows in turn: while one thread hands on a strip, the other
// draws the next. The memory is set aside before the threads start.
void paintStrips(const PictureScene& scene, const StripPlan& plan, unsigned threads, uint32_t side,
                 const PictureRows& rows) {
    std::vector<StripRoom> rooms;
    rooms.reserve(threads);
    for (unsigned thread = 0; thread < threads; ++thread) {
        rooms.push_back({SampleStrip(side, plan.tallest()), std::vector<uint8_t>(size_t{side} * plan.tallest() * 4)});
    }
    std::atomic<uint32_t> nextStrip{0};
    StripTurns turns;
    picture::runSideBySide(threads, [&](unsigned thread) {
        StripRoom& room = rooms[thread];
        for (uint32_t k = nextStrip++; k < plan.count(); k = nextStrip++) {
            room.samples.startRows(plan.firstRow(k), plan.firstRow(k + 1));
            picture::paintStrip(scene, room.samples);
            room.samples.resolveRows(room.pixels.data());
            const size_t bytes = size_t{plan.firstRow(k + 1) - plan.firstRow(k)} * side * 4;
            turns.handOnInTurn(k, [&] { rows({room.pixels.data(), bytes}); });
        }
    });
}

// Each thread draws its share of the polygons over the whole picture; then
// each takes a band of rows, keeps there the nearest of the shares' samples,
// the earlier share's on a tie, and hands the band on in turn. That gives
// the samples of drawing every polygon in order, with every polygon visited
// once instead of once per strip. The memory is set aside before the
// threads start.
void paintShares(const PictureScene& scene, unsigned threads, uint32_t side, const PictureRows& rows) {
    const auto firstRowOf = [&](unsigned band) { return static_cast<uint32_t>(uint64_t{side} * band / threads); };
    std::vector<SampleStrip> shares;
    std::vector<std::vector<uint8_t>> bandPixels;
    shares.reserve(threads);
    for (unsigned thread = 0; thread < threads; ++thread) {
        shares.emplace_back(side, side);
        shares.back().startRows(0, side);
        bandPixels.emplace_back(size_t{firstRowOf(thread + 1) - firstRowOf(thread)} * side * 4);
    }
    const size_t polygons = scene.store.polygons.size();
    picture::runSideBySide(threads, [&](unsigned thread) {
        picture::paintStrip(scene, shares[thread], {polygons * thread / threads, polygons * (thread + 1) / threads});
    });
    for (unsigned later = 1; later < threads; ++later) {
        shares[0].willDraw(shares[later].drawn());
    }
    StripTurns turns;
    picture::runSideBySide(threads, [&](unsigned thread) {
        const uint32_t first = firstRowOf(thread) * picture::kSamplesPerPixelSide;
        const uint32_t end = firstRowOf(thread + 1) * picture::kSamplesPerPixelSide;
        for (unsigned later = 1; later < threads; ++later) {
            shares[0].takeNearerOf(shares[later], first, end);
        }
        shares[0].resolveRows(bandPixels[thread].data(), first, end);
        turns.handOnInTurn(thread, [&] { rows(bandPixels[thread]); });
    });
}

// A picture of nothing: every row transparent black.
void handOnEmptyRows(uint32_t side, const PictureRows& rows) {
    const std::vector<uint8_t> row(size_t{side} * 4);
    for (uint32_t y = 0; y < side; ++y) {
        rows(row);
    }
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

void drawPicture(const MeshStore& store, const std::vector<const Image*>& imageOfTexture, uint32_t size,
                 unsigned threads, const PictureRows& rows) {
    if (size > kLargestPictureSide) {
        throw std::invalid_argument("a picture side above " + std::to_string(kLargestPictureSide));
    }
    const std::optional<picture::Box> box = picture::boxOfUsedPositions(store);
    if (!box) {
        handOnEmptyRows(size, rows);
        return;
    }
    if (size == 0) {
        return;
    }
    const unsigned threadCount = std::clamp(threads, 1u, size);
    PictureScene scene{store, picture::ModelFrame(*box), picture::ScreenMapping(size * picture::kSamplesPerPixelSide),
                       {}, {}, {}};
    scene.paints = paintsOfGroups(store, imageOfTexture, scene.paletteFactors);
    projectAllPositions(scene, threadCount);
    const StripPlan plan(size, store.polygons.size(), threadCount);
    if (plan.sharesPolygons()) {
        paintShares(scene, threadCount, size, rows);
    } else {
        paintStrips(scene, plan, threadCount, size, rows);
    }
}

Image renderPicture(const MeshStore& store, const std::vector<const Image*>& imageOfTexture, uint32_t size,
                    unsigned threads) {
    Image result{size, size, PixelFormat::kRgba, {}, {}};
    result.pixels.reserve(size_t{size} * size * 4);
    drawPicture(store, imageOfTexture, size, threads, [&](std::span<const uint8_t> pixels) {
        result.pixels.insert(result.pixels.end(), pixels.begin(), pixels.end());
    });
    return result;
}

}  // namespace zelvane
