// The smooth family: a sculpted relief of triangles, smooth shaded, the way
// a scanned or subdivided model comes. Every vertex has a normal of its own,
// the exact normal of the surface there, and a texture coordinate of its
// own, projected from its position; every corner carries its vertex's
// texture coordinate. One texture, one colour. A grid of n vertices holds
// about 2n triangles, so there is about half a distinct normal and half a
// distinct texture coordinate per triangle.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "CellGrid.h"
#include "Families.h"
#include "ModelSink.h"

namespace zelvane::tools {
namespace {

const std::vector<std::string> kTextures{"clay.pcx"};
constexpr std::array<uint8_t, 4> kColour{214, 190, 168, 255};

// The grid point (x, y), warped smoothly so that no two rows or columns are
// alike. The warp never folds: a step along either axis moves at least 0.75
// that way and less than 0.07 across.
std::array<double, 2> groundAt(uint32_t x, uint32_t y) {
    return {x + 0.35 * std::sin(0.173 * y + 0.71 * x), y + 0.35 * std::sin(0.191 * x + 0.53 * y)};
}

// The height over the ground point (a, b) and its two partial derivatives:
// sines of unrelated frequencies, so that the relief never repeats.
struct Relief {
    double height, slopeA, slopeB;
};

Relief reliefAt(double a, double b) {
    const double s1 = std::sin(0.021 * a + 0.3), c1 = std::cos(0.021 * a + 0.3);
    const double s2 = std::sin(0.017 * b), c2 = std::cos(0.017 * b);
    const double p3 = 0.093 * a + 0.077 * b, s4 = std::sin(0.41 * a), c4 = std::cos(0.41 * a);
    const double s5 = std::sin(0.37 * b), c5 = std::cos(0.37 * b);
    Relief relief;
    relief.height = 9.0 * s1 * c2 + 2.5 * std::sin(p3) + 0.6 * s4 * s5;
    relief.slopeA = 9.0 * 0.021 * c1 * c2 + 2.5 * 0.093 * std::cos(p3) + 0.6 * 0.41 * c4 * s5;
    relief.slopeB = -9.0 * 0.017 * s1 * s2 + 2.5 * 0.077 * std::cos(p3) + 0.6 * 0.37 * s4 * c5;
    return relief;
}

bool splitFirstDiagonal(uint32_t x, uint32_t y) {
    return (x + y) % 2 == 0;
}

CellGrid surfaceGrid(uint32_t polygonCount) {
    const uint32_t columns = std::max<uint32_t>(2, static_cast<uint32_t>(std::sqrt(polygonCount / 2.0)));
    return gridFor(polygonCount, columns, [](uint32_t, uint32_t) { return true; });
}

class SurfaceWriter {
public:
    SurfaceWriter(uint32_t polygonCount, const BenchModelFiles& files)
        : polygonCount_(polygonCount),
          grid_(surfaceGrid(polygonCount)),
          sink_(files, textureNamesFor(files, kTextures), grid_.vertexCount(), polygonCount) {
        polygon_.textureIndex = 0;
        polygon_.colour = kColour;
    }

    bool write() {
        if (!sink_.isOpen()) return false;
        writeVertices();
        writeTriangles();
        return sink_.finish();
    }

private:
    void writeVertices() {
        texcoords_.reserve(grid_.vertexCount());
        for (uint32_t y = 0; y <= grid_.rows; ++y) {
            for (uint32_t x = 0; x <= grid_.columns; ++x) writeVertex(x, y);
        }
    }

    void writeVertex(uint32_t x, uint32_t y) {
        const auto [a, b] = groundAt(x, y);
        const Relief relief = reliefAt(a, b);
        const double length = std::sqrt(relief.slopeA * relief.slopeA + 1.0 + relief.slopeB * relief.slopeB);
        const Mag5VertexSpec vertex{
            {float(a), float(relief.height), float(b)},
            {float(-relief.slopeA / length), float(1.0 / length), float(-relief.slopeB / length)}};
        const std::array<float, 2> texcoord{float((a + 0.5) / (grid_.columns + 1)),
                                            float((b + 0.5) / (grid_.rows + 1))};
        texcoords_.push_back(texcoord);
        sink_.addVertex(vertex, texcoord);
    }

    void writeTriangles() {
        uint32_t written = 0;
        for (uint32_t y = 0; y < grid_.rows; ++y) {
            for (uint32_t x = 0; x < grid_.columns && written < polygonCount_; ++x) {
                const uint32_t a = grid_.vertexIndex(x, y), b = grid_.vertexIndex(x + 1, y);
                const uint32_t c = grid_.vertexIndex(x + 1, y + 1), d = grid_.vertexIndex(x, y + 1);
                const bool first = splitFirstDiagonal(x, y);
                emit(first ? std::array{a, d, c} : std::array{a, d, b}), ++written;
                if (written < polygonCount_) emit(first ? std::array{a, c, b} : std::array{b, d, c}), ++written;
            }
        }
    }

    // Corners counter-clockwise from above, each with its vertex's texture coordinate.
    void emit(const std::array<uint32_t, 3>& corners) {
        polygon_.corners.clear();
        for (uint32_t vertex : corners) {
            polygon_.corners.push_back({vertex, texcoords_[vertex][0], texcoords_[vertex][1]});
        }
        sink_.addPolygon(polygon_);
    }

    uint32_t polygonCount_;
    CellGrid grid_;
    ModelSink sink_;
    std::vector<std::array<float, 2>> texcoords_;
    Mag5PolygonSpec polygon_;
};

}  // namespace

size_t smoothSurfaceTextures() {
    return kTextures.size();
}

bool writeSmoothSurface(uint32_t polygonCount, const BenchModelFiles& files) {
    return SurfaceWriter(polygonCount, files).write();
}

}  // namespace zelvane::tools
