#include "PictureTestModels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "picture/Picture.h"

namespace zelvane::test {

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 operator*(double factor, const Vector3& v) {
    return {factor * v.x, factor * v.y, factor * v.z};
}

double dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

ViewAxes viewAxes() {
    const double elevation = radians(25.0);
    const double azimuth = radians(40.0);
    const Vector3 back{std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                       std::cos(elevation) * std::cos(azimuth)};
    const Vector3 level = cross({0.0, 1.0, 0.0}, back);
    const Vector3 right = (1.0 / std::sqrt(dot(level, level))) * level;
    return {right, cross(back, right), back};
}

Material colourMaterial(double red, double green, double blue, uint32_t texture) {
    return Material{texture, {red, green, blue, 1.0}};
}

ModelBuilder::ModelBuilder() : store_(std::make_unique<MeshStore>()) {}

ModelBuilder& ModelBuilder::addUnusedPosition(const Vector3& position) {
    store_->addVertex(position, {0.0, 0.0, 1.0});
    return *this;
}

ModelBuilder& ModelBuilder::addPolygon(const std::vector<Corner>& corners, const Material& material) {
    std::array<uint32_t, 4> vertex{};
    std::array<double, 4> u{};
    std::array<double, 4> v{};
    std::array<Vector3, 4> normals{};
    for (size_t k = 0; k < corners.size(); ++k) {
        vertex[k] = store_->addVertex(corners[k].position, corners[k].normal);
        u[k] = corners[k].u;
        v[k] = corners[k].v;
        normals[k] = corners[k].normal;
    }
    if (material.textured() && store_->textures.size() < 2) {
        store_->addTexture("texture.png");  // texture 1
    }
    if (corners.size() == 3) {
        const std::array<Vector3, 3> three{normals[0], normals[1], normals[2]};
        store_->addTriangle({vertex[0], vertex[1], vertex[2]}, material, {u[0], u[1], u[2]}, {v[0], v[1], v[2]},
                            &three);
    } else {
        store_->addQuad(vertex, material, u, v, &normals);
    }
    return *this;
}

ModelBuilder& ModelBuilder::addRectangle(const Vector3& centre, const Vector3& right, const Vector3& up,
                                         const Vector3& normal, const Material& material) {
    return addPolygon({{centre - right - up, normal, 0.0, 0.0},
                       {centre + right - up, normal, 1.0, 0.0},
                       {centre + right + up, normal, 1.0, 1.0},
                       {centre - right + up, normal, 0.0, 1.0}},
                      material);
}

std::unique_ptr<MeshStore> ModelBuilder::finish() {
    store_->mergeDuplicates();
    store_->groupByMaterial();
    return std::move(store_);
}

Sphere sphereAround(const std::vector<Vector3>& points) {
    Vector3 low = points.front();
    Vector3 high = points.front();
    for (const Vector3& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const Vector3 half = 0.5 * (high - low);
    return {0.5 * (low + high), std::sqrt(dot(half, half))};
}

Pixel pixelAt(const Image& picture, uint32_t x, uint32_t y) {
    const size_t at = (size_t{y} * picture.width + x) * 4;
    return {picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2], picture.pixels[at + 3]};
}

Pixel pixelUnder(const Image& picture, const Vector3& point, const Sphere& sphere) {
    const ViewAxes axes = viewAxes();
    const Vector3 relative = (1.0 / sphere.radius) * (point - sphere.centre);
    const double depth = 1.0 / std::sin(radians(15.0)) - dot(relative, axes.back);
    const double scale = picture.width / 2.0 / std::tan(radians(15.0));
    return pixelAt(picture, static_cast<uint32_t>(picture.width / 2.0 + dot(relative, axes.right) / depth * scale),
                   static_cast<uint32_t>(picture.height / 2.0 - dot(relative, axes.up) / depth * scale));
}

uint64_t coveredSamples(const Image& picture) {
    uint64_t samples = 0;
    for (size_t at = 3; at < picture.pixels.size(); at += 4) {
        samples += (picture.pixels[at] + 32u) / 64u;
    }
    return samples;
}

Image pictureOf(const MeshStore& store, uint32_t side, const std::vector<const Image*>& images, unsigned threads) {
    return renderPicture(store, images, side, threads);
}

}  // namespace zelvane::test
