// Models built polygon by polygon for the picture tests, the view worked out
// independently of the renderer's constants, and reading pictures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "mesh/MeshStore.h"

namespace zelvane::test {

Vector3 operator+(const Vector3& a, const Vector3& b);
Vector3 operator-(const Vector3& a, const Vector3& b);
Vector3 operator*(double factor, const Vector3& v);
double dot(const Vector3& a, const Vector3& b);

// The camera's axes in model coordinates, from the documented angles: the
// eye at azimuth 40 degrees (from +Z towards +X) and elevation 25 degrees.
struct ViewAxes {
    Vector3 right;
    Vector3 up;
    Vector3 back;  // from the model towards the eye
};
ViewAxes viewAxes();

struct Corner {
    Vector3 position;
    Vector3 normal{0.0, 0.0, 1.0};
    double u = 0.0;
    double v = 0.0;  // counted from the image's bottom, as the store keeps it
};

Material colourMaterial(double red, double green, double blue, uint32_t texture = kTextureNone);

// A store filled polygon by polygon, each corner a vertex of its own with a
// normal of its own, merged and grouped as the converter does.
class ModelBuilder {
public:
    ModelBuilder();

    ModelBuilder& addUnusedPosition(const Vector3& position);
    ModelBuilder& addPolygon(const std::vector<Corner>& corners, const Material& material);  // 3 or 4 corners
    // Corners centre -+ right -+ up, texture coordinates from (0, 0) at the
    // bottom left to (1, 1) at the top right.
    ModelBuilder& addRectangle(const Vector3& centre, const Vector3& right, const Vector3& up, const Vector3& normal,
                               const Material& material);
    // The store; the builder is left empty.
    std::unique_ptr<MeshStore> finish();

private:
    std::unique_ptr<MeshStore> store_;
};

// The centre of the points' box and half its diagonal.
struct Sphere {
    Vector3 centre;
    double radius = 1.0;
};
Sphere sphereAround(const std::vector<Vector3>& points);

using Pixel = std::array<uint8_t, 4>;
Pixel pixelAt(const Image& picture, uint32_t x, uint32_t y);
// The pixel under a point of a model within the sphere.
Pixel pixelUnder(const Image& picture, const Vector3& point, const Sphere& sphere);
// The samples covered, from each pixel's alpha (64 a sample).
uint64_t coveredSamples(const Image& picture);
Image pictureOf(const MeshStore& store, uint32_t side, const std::vector<const Image*>& images = {},
                unsigned threads = 1);

// An RGB image whose pixel (x, y) is colourOf(x, y).
template <typename ColourOf>
Image rgbImage(uint32_t width, uint32_t height, ColourOf colourOf) {
    Image image{width, height, PixelFormat::kRgb, {}, {}};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (const uint8_t channel : colourOf(x, y)) {
                image.pixels.push_back(channel);
            }
        }
    }
    return image;
}

}  // namespace zelvane::test
