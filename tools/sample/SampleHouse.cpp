// The sample house, built from flat faces and solids of revolution. Y is up,
// the front of the house faces +Z, units are metres. Polygons wind
// counter-clockwise seen from outside.
#include "sample/SampleHouse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using zelvane::tools::Mag5CornerSpec;
using zelvane::tools::Mag5ModelSpec;
using zelvane::tools::Mag5PolygonSpec;

using Vec3 = std::array<double, 3>;
using Colour = std::array<uint8_t, 4>;

// ---- small vector helpers -------------------------------------------------

Vec3 add(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 normalised(const Vec3& a) {
    const double length = std::sqrt(dot(a, a));
    if (length == 0.0) {
        return {0.0, 1.0, 0.0};
    }
    return {a[0] / length, a[1] / length, a[2] / length};
}

// Newell's method: the normal of a planar polygon, its length twice the area.
Vec3 newellNormal(const std::vector<Vec3>& points) {
    Vec3 sum{};
    for (size_t i = 0; i < points.size(); ++i) {
        sum = add(sum, cross(points[i], points[(i + 1) % points.size()]));
    }
    return sum;
}

// ---- materials and texture mapping ----------------------------------------

enum TextureIndex : int32_t { kUntextured = -1, kBrick = 0, kRoofTiles = 1, kPlanks = 2, kWindow = 3 };

constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kDoorRed{170, 35, 30, 255};
constexpr Colour kChimneyGrey{128, 128, 128, 255};
constexpr Colour kSootBlack{40, 40, 40, 255};
constexpr Colour kFasciaBrown{90, 60, 40, 255};
constexpr Colour kGrassGreen{80, 150, 60, 255};
constexpr Colour kLeafGreen{50, 120, 45, 255};
constexpr Colour kNeedleGreen{30, 90, 45, 255};
constexpr Colour kBarkBrown{100, 70, 40, 255};
constexpr Colour kLidBrown{80, 55, 35, 255};

struct Material {
    int32_t texture = kUntextured;
    Colour colour = kWhite;
    bool flat = true;
};

// Texture coordinates with v counted upwards. The file counts v from the top
// of the image, so the corner records get 1 - v.
struct Uv {
    double u = 0.0;
    double v = 0.0;
};

// Planar mapping of a flat face: tiled with squares of tileSize metres, or,
// with tileSize 0, the whole image stretched over the face.
struct PlanarMapping {
    double tileSize = 0.0;
};

constexpr PlanarMapping kFitToFace{0.0};
constexpr PlanarMapping kMetreTiles{1.0};

// Axes of the image on a face seen from outside: u to the right, v upwards.
std::array<Vec3, 2> imageAxes(const Vec3& normal) {
    const Vec3 up{0.0, 1.0, 0.0};
    const Vec3 right = std::abs(normal[1]) > 0.99 ? Vec3{1.0, 0.0, 0.0} : normalised(cross(up, normal));
    return {right, normalised(cross(normal, right))};
}

std::vector<Uv> planarUvs(const std::vector<Vec3>& points, const Vec3& normal, PlanarMapping mapping) {
    const auto [right, upward] = imageAxes(normal);
    std::vector<Uv> uvs;
    for (const Vec3& point : points) {
        uvs.push_back({dot(point, right), dot(point, upward)});
    }
    const auto [minU, maxU] = std::minmax_element(uvs.begin(), uvs.end(), [](Uv a, Uv b) { return a.u < b.u; });
    const auto [minV, maxV] = std::minmax_element(uvs.begin(), uvs.end(), [](Uv a, Uv b) { return a.v < b.v; });
    const Uv origin{minU->u, minV->v};
    const Uv scale = mapping.tileSize > 0.0 ? Uv{mapping.tileSize, mapping.tileSize}
                                            : Uv{maxU->u - minU->u, maxV->v - minV->v};
    for (Uv& uv : uvs) {
        uv = {(uv.u - origin.u) / scale.u, (uv.v - origin.v) / scale.v};
    }
    return uvs;
}

// ---- the model being built ------------------------------------------------

class ModelBuilder {
public:
    ModelBuilder() { model_.textures = {"brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx"}; }

    // A vertex with a normal of its own, for smooth-shaded parts.
    uint32_t addVertex(const Vec3& position, const Vec3& normal) {
        model_.vertices.push_back({toFloats(position), toFloats(normal)});
        return static_cast<uint32_t>(model_.vertices.size() - 1);
    }

    // A flat face through the given points, turned to face along outward.
    // Faces meeting at a point share its vertex.
    void addFace(std::vector<Vec3> points, const Vec3& outward, const Material& material, PlanarMapping mapping) {
        if (dot(newellNormal(points), outward) < 0.0) {
            std::reverse(points.begin(), points.end());
        }
        const std::vector<Uv> uvs = planarUvs(points, normalised(newellNormal(points)), mapping);
        std::vector<uint32_t> indices;
        for (const Vec3& point : points) {
            indices.push_back(sharedVertex(point));
        }
        addPolygon(indices, uvs, material);
    }

    void addPolygon(const std::vector<uint32_t>& indices, const std::vector<Uv>& uvs, const Material& material) {
        Mag5PolygonSpec polygon;
        polygon.flags = material.flat ? 1u : 0u;
        polygon.faceNormal = normalised(newellNormal(positionsOf(indices)));
        polygon.colour = material.colour;
        polygon.textureIndex = material.texture;
        for (size_t i = 0; i < indices.size(); ++i) {
            polygon.corners.push_back({indices[i], static_cast<float>(uvs[i].u), static_cast<float>(1.0 - uvs[i].v)});
        }
        model_.polygons.push_back(polygon);
    }

    Mag5ModelSpec finish() {
        averageSharedNormals();
        return model_;
    }

private:
    using PositionKey = std::array<long long, 3>;

    static std::array<float, 3> toFloats(const Vec3& a) {
        return {static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2])};
    }

    Vec3 positionOf(uint32_t index) const {
        const std::array<float, 3>& p = model_.vertices[index].position;
        return {p[0], p[1], p[2]};
    }

    std::vector<Vec3> positionsOf(const std::vector<uint32_t>& indices) const {
        std::vector<Vec3> points;
        for (uint32_t index : indices) {
            points.push_back(positionOf(index));
        }
        return points;
    }

    uint32_t sharedVertex(const Vec3& position) {
        const PositionKey key{std::llround(position[0] * 1000.0), std::llround(position[1] * 1000.0),
                              std::llround(position[2] * 1000.0)};
        const auto found = shared_.find(key);
        if (found != shared_.end()) {
            return found->second;
        }
        const uint32_t index = addVertex(position, {});
        shared_.emplace(key, index);
        return index;
    }

    // Shared vertices of flat faces get the area-weighted mean of the normals
    // of the faces around them.
    void averageSharedNormals() {
        std::map<uint32_t, Vec3> sums;
        for (const auto& [key, index] : shared_) {
            sums[index] = {};
        }
        for (const Mag5PolygonSpec& polygon : model_.polygons) {
            std::vector<uint32_t> indices;
            for (const Mag5CornerSpec& corner : polygon.corners) {
                indices.push_back(corner.vertex);
            }
            const Vec3 weighted = newellNormal(positionsOf(indices));
            for (uint32_t index : indices) {
                if (auto sum = sums.find(index); sum != sums.end()) {
                    sum->second = add(sum->second, weighted);
                }
            }
        }
        for (const auto& [index, sum] : sums) {
            model_.vertices[index].normal = toFloats(normalised(sum));
        }
    }

    Mag5ModelSpec model_;
    std::map<PositionKey, uint32_t> shared_;
};

// ---- solids of revolution -------------------------------------------------

// A point of a lathe profile, radius from the axis and height above the base.
// Profiles run from bottom to top; a point of radius 0 is a pole.
struct ProfilePoint {
    double radius = 0.0;
    double height = 0.0;
};

struct Lathe {
    Vec3 base{};
    std::vector<ProfilePoint> profile;
    int segments = 8;
    double uRepeat = 1.0;  // how often the texture wraps around the axis
    Material material;
};

// Outward normal of each profile point in the (radius, height) plane, the
// mean of the normals of the profile segments beside it; straight up or down
// at a pole.
std::vector<std::array<double, 2>> profileNormals(const std::vector<ProfilePoint>& profile) {
    std::vector<std::array<double, 2>> normals(profile.size(), {0.0, 0.0});
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const double radial = profile[i + 1].height - profile[i].height;
        const double vertical = profile[i].radius - profile[i + 1].radius;
        const double length = std::hypot(radial, vertical);
        for (size_t end : {i, i + 1}) {
            normals[end][0] += radial / length;
            normals[end][1] += vertical / length;
        }
    }
    for (size_t i = 0; i < profile.size(); ++i) {
        if (profile[i].radius == 0.0) {
            normals[i][0] = 0.0;
        }
    }
    return normals;
}

double segmentAngle(const Lathe& lathe, double segment) {
    return 2.0 * std::numbers::pi * segment / lathe.segments;
}

// The vertices of one profile point swept around the axis; one for a pole.
std::vector<uint32_t> addRing(ModelBuilder& builder, const Lathe& lathe, size_t point,
                              const std::array<double, 2>& normal) {
    const ProfilePoint& p = lathe.profile[point];
    const int count = p.radius == 0.0 ? 1 : lathe.segments;
    std::vector<uint32_t> ring;
    for (int j = 0; j < count; ++j) {
        const double angle = segmentAngle(lathe, j);
        const Vec3 offset{p.radius * std::sin(angle), p.height, p.radius * std::cos(angle)};
        const Vec3 direction{normal[0] * std::sin(angle), normal[1], normal[0] * std::cos(angle)};
        ring.push_back(builder.addVertex(add(lathe.base, offset), normalised(direction)));
    }
    return ring;
}

// The polygons between two neighbouring rings: quads, or triangles next to a pole.
void addBand(ModelBuilder& builder, const Lathe& lathe, const std::vector<uint32_t>& lower,
             const std::vector<uint32_t>& upper, double vLower, double vUpper) {
    if (lower.size() == 1 && upper.size() == 1) {
        return;
    }
    for (int j = 0; j < lathe.segments; ++j) {
        const size_t next = static_cast<size_t>((j + 1) % lathe.segments);
        const double u0 = lathe.uRepeat * j / lathe.segments;
        const double u1 = lathe.uRepeat * (j + 1) / lathe.segments;
        const double uMid = (u0 + u1) / 2.0;
        if (lower.size() == 1) {
            builder.addPolygon({lower[0], upper[next], upper[j]}, {{uMid, vLower}, {u1, vUpper}, {u0, vUpper}},
                               lathe.material);
        } else if (upper.size() == 1) {
            builder.addPolygon({lower[j], lower[next], upper[0]}, {{u0, vLower}, {u1, vLower}, {uMid, vUpper}},
                               lathe.material);
        } else {
            builder.addPolygon({lower[j], lower[next], upper[next], upper[j]},
                               {{u0, vLower}, {u1, vLower}, {u1, vUpper}, {u0, vUpper}}, lathe.material);
        }
    }
}

void addLathe(ModelBuilder& builder, const Lathe& lathe) {
    const std::vector<std::array<double, 2>> normals = profileNormals(lathe.profile);
    const double lastPoint = static_cast<double>(lathe.profile.size() - 1);
    std::vector<uint32_t> lower = addRing(builder, lathe, 0, normals[0]);
    for (size_t i = 1; i < lathe.profile.size(); ++i) {
        std::vector<uint32_t> upper = addRing(builder, lathe, i, normals[i]);
        addBand(builder, lathe, lower, upper, static_cast<double>(i - 1) / lastPoint, static_cast<double>(i) / lastPoint);
        lower = std::move(upper);
    }
}

// ---- the house ------------------------------------------------------------

constexpr double kHalfWidth = 3.0;   // walls from x = -3 to 3
constexpr double kHalfDepth = 2.0;   // walls from z = -2 to 2
constexpr double kWallHeight = 3.0;
constexpr double kRidgeHeight = 4.5;
constexpr double kRoofPitch = (kRidgeHeight - kWallHeight) / kHalfDepth;
constexpr double kEaveOverhang = 0.4;
constexpr double kVergeOverhang = 0.3;
constexpr double kRoofThickness = 0.1;
constexpr int kRoofStrips = 6;
constexpr double kDecalOffset = 0.02;  // windows and door stand off the wall this far

// One wall: a grid of one-metre brick panels from start along the direction
// that is "right" seen from outside.
void addWall(ModelBuilder& builder, const Vec3& start, const Vec3& right, int panels, const Vec3& outward) {
    const Material brick{kBrick, kWhite, true};
    for (int column = 0; column < panels; ++column) {
        for (int row = 0; row < static_cast<int>(kWallHeight); ++row) {
            const Vec3 corner = add(start, {right[0] * column, static_cast<double>(row), right[2] * column});
            const Vec3 across = add(corner, right);
            builder.addFace({corner, across, add(across, {0, 1, 0}), add(corner, {0, 1, 0})}, outward, brick,
                            kMetreTiles);
        }
    }
}

void addWalls(ModelBuilder& builder) {
    const int wide = static_cast<int>(2 * kHalfWidth);
    const int deep = static_cast<int>(2 * kHalfDepth);
    addWall(builder, {-kHalfWidth, 0, kHalfDepth}, {1, 0, 0}, wide, {0, 0, 1});
    addWall(builder, {kHalfWidth, 0, kHalfDepth}, {0, 0, -1}, deep, {1, 0, 0});
    addWall(builder, {kHalfWidth, 0, -kHalfDepth}, {-1, 0, 0}, wide, {0, 0, -1});
    addWall(builder, {-kHalfWidth, 0, -kHalfDepth}, {0, 0, 1}, deep, {-1, 0, 0});
    const Material brick{kBrick, kWhite, true};
    for (double side : {-1.0, 1.0}) {
        const double x = side * kHalfWidth;
        builder.addFace({{x, kWallHeight, kHalfDepth}, {x, kWallHeight, -kHalfDepth}, {x, kRidgeHeight, 0}},
                        {side, 0, 0}, brick, kMetreTiles);
    }
}

// A point on the upper surface of the roof plane on side (+1 front, -1 back).
Vec3 roofPoint(double x, double side, double distanceFromRidge) {
    return {x, kRidgeHeight - kRoofPitch * distanceFromRidge, side * distanceFromRidge};
}

void addRoofSide(ModelBuilder& builder, double side) {
    const Material tiles{kRoofTiles, kWhite, true};
    const Material planks{kPlanks, kWhite, true};
    const Material fascia{kUntextured, kFasciaBrown, true};
    const double eave = kHalfDepth + kEaveOverhang;
    const double stripWidth = 2.0 * (kHalfWidth + kVergeOverhang) / kRoofStrips;
    const Vec3 down{0, -kRoofThickness, 0};
    const Vec3 upper = normalised({0, 1, side * kRoofPitch});
    for (int strip = 0; strip < kRoofStrips; ++strip) {
        const double x0 = -kHalfWidth - kVergeOverhang + strip * stripWidth;
        const double x1 = x0 + stripWidth;
        const Vec3 ridge0 = roofPoint(x0, side, 0), ridge1 = roofPoint(x1, side, 0);
        const Vec3 eave0 = roofPoint(x0, side, eave), eave1 = roofPoint(x1, side, eave);
        builder.addFace({eave0, eave1, ridge1, ridge0}, upper, tiles, PlanarMapping{stripWidth});
        builder.addFace({add(eave0, down), add(eave1, down), add(ridge1, down), add(ridge0, down)},
                        {-upper[0], -upper[1], -upper[2]}, planks, kMetreTiles);
        builder.addFace({eave0, eave1, add(eave1, down), add(eave0, down)}, {0, 0, side}, fascia, kMetreTiles);
    }
    for (double end : {-1.0, 1.0}) {
        const double x = end * (kHalfWidth + kVergeOverhang);
        const Vec3 ridge = roofPoint(x, side, 0), eavePoint = roofPoint(x, side, eave);
        builder.addFace({eavePoint, ridge, add(ridge, down), add(eavePoint, down)}, {end, 0, 0}, fascia,
                        kMetreTiles);
    }
}

// A box of the given corners; the bottom is left open when it stands on
// something or sits inside the house.
void addOpenBox(ModelBuilder& builder, const Vec3& low, const Vec3& high, const Material& sides, const Material& top) {
    const Vec3 a{low[0], low[1], high[2]}, b{high[0], low[1], high[2]};
    const Vec3 c{high[0], low[1], low[2]}, d{low[0], low[1], low[2]};
    const Vec3 lift{0, high[1] - low[1], 0};
    builder.addFace({a, b, add(b, lift), add(a, lift)}, {0, 0, 1}, sides, kMetreTiles);
    builder.addFace({b, c, add(c, lift), add(b, lift)}, {1, 0, 0}, sides, kMetreTiles);
    builder.addFace({c, d, add(d, lift), add(c, lift)}, {0, 0, -1}, sides, kMetreTiles);
    builder.addFace({d, a, add(a, lift), add(d, lift)}, {-1, 0, 0}, sides, kMetreTiles);
    builder.addFace({add(a, lift), add(b, lift), add(c, lift), add(d, lift)}, {0, 1, 0}, top, kMetreTiles);
}

void addChimney(ModelBuilder& builder) {
    addOpenBox(builder, {1.4, 3.5, -1.3}, {2.0, 5.3, -0.7}, Material{kUntextured, kChimneyGrey, true},
               Material{kUntextured, kSootBlack, true});
}

// A rectangle standing just off a wall, facing along outward.
void addWallDecal(ModelBuilder& builder, const Vec3& centre, double halfWidth, double bottom, double top,
                  const Vec3& outward, const Material& material) {
    const Vec3 base = add(centre, {outward[0] * kDecalOffset, 0, outward[2] * kDecalOffset});
    const Vec3 along{outward[2] * halfWidth, 0, -outward[0] * halfWidth};  // to the right, seen from outside
    const Vec3 left = sub(base, along), right = add(base, along);
    builder.addFace({{left[0], bottom, left[2]}, {right[0], bottom, right[2]}, {right[0], top, right[2]},
                     {left[0], top, left[2]}},
                    outward, material, kFitToFace);
}

void addWindowsAndDoor(ModelBuilder& builder) {
    const Material window{kWindow, kWhite, true};
    for (double side : {-1.0, 1.0}) {
        for (double x : {-1.8, 1.8}) {
            addWallDecal(builder, {x, 0, side * kHalfDepth}, 0.6, 1.0, 2.2, {0, 0, side}, window);
        }
        addWallDecal(builder, {side * kHalfWidth, 0, 0}, 0.6, 1.0, 2.2, {side, 0, 0}, window);
    }
    addWallDecal(builder, {0, 0, kHalfDepth}, 0.5, 0.15, 2.2, {0, 0, 1}, Material{kUntextured, kDoorRed, true});
}

// A plank deck in front of the door, its back against the front wall.
void addDeck(ModelBuilder& builder) {
    const Material planks{kPlanks, kWhite, true};
    const double top = 0.15, front = kHalfDepth + 1.0;
    for (double x = -1.5; x < 1.5; x += 1.0) {
        builder.addFace({{x, top, kHalfDepth}, {x, top, front}, {x + 1, top, front}, {x + 1, top, kHalfDepth}},
                        {0, 1, 0}, planks, kMetreTiles);
        builder.addFace({{x, 0, front}, {x + 1, 0, front}, {x + 1, top, front}, {x, top, front}}, {0, 0, 1}, planks,
                        kMetreTiles);
    }
    for (double side : {-1.0, 1.0}) {
        const double x = side * 1.5;
        builder.addFace({{x, 0, kHalfDepth}, {x, 0, front}, {x, top, front}, {x, top, kHalfDepth}}, {side, 0, 0},
                        planks, kMetreTiles);
    }
}

void addGround(ModelBuilder& builder) {
    const Material grass{kUntextured, kGrassGreen, true};
    // The grid lines miss the wall corners, so the grass shares no vertex with the house.
    const double cell = 3.5;
    for (double x = -7.0; x < 7.0; x += cell) {
        for (double z = -7.0; z < 7.0; z += cell) {
            builder.addFace({{x, 0, z}, {x + cell, 0, z}, {x + cell, 0, z + cell}, {x, 0, z + cell}}, {0, 1, 0}, grass,
                            kFitToFace);
        }
    }
}

void addWaterBarrel(ModelBuilder& builder, const Vec3& base) {
    const double rim = 0.36, belly = 0.42, height = 0.9;
    addLathe(builder, {base, {{rim, 0.0}, {belly, height / 2}, {rim, height}}, 12, 3.0, {kPlanks, kWhite, false}});
    const Material lid{kUntextured, kLidBrown, true};
    addLathe(builder, {base, {{0.0, 0.0}, {rim, 0.0}}, 12, 1.0, lid});
    addLathe(builder, {base, {{rim, height}, {0.0, height}}, 12, 1.0, lid});
}

void addRoundTree(ModelBuilder& builder, const Vec3& base) {
    addLathe(builder, {base, {{0.18, 0.0}, {0.15, 1.8}}, 8, 1.0, {kUntextured, kBarkBrown, false}});
    const double radius = 1.2, centre = 2.8;
    const int bands = 6;
    std::vector<ProfilePoint> crown;
    for (int i = 0; i <= bands; ++i) {
        const double polar = std::numbers::pi * i / bands;
        crown.push_back({i == 0 || i == bands ? 0.0 : radius * std::sin(polar), centre - radius * std::cos(polar)});
    }
    addLathe(builder, {base, crown, 8, 1.0, {kUntextured, kLeafGreen, false}});
}

void addFirTree(ModelBuilder& builder, const Vec3& base) {
    addLathe(builder, {base, {{0.12, 0.0}, {0.1, 0.6}}, 6, 1.0, {kUntextured, kBarkBrown, false}});
    addLathe(builder, {base, {{0.0, 0.5}, {1.0, 0.5}, {0.0, 3.5}}, 8, 1.0, {kUntextured, kNeedleGreen, true}});
}

}  // namespace

namespace zelvane::tools {

Mag5ModelSpec sampleHouse() {
    ModelBuilder builder;
    addGround(builder);
    addWalls(builder);
    addRoofSide(builder, 1.0);
    addRoofSide(builder, -1.0);
    addChimney(builder);
    addWindowsAndDoor(builder);
    addDeck(builder);
    addWaterBarrel(builder, {3.7, 0.0, 1.4});
    addRoundTree(builder, {-5.5, 0.0, -2.5});
    addFirTree(builder, {5.5, 0.0, -3.5});
    return builder.finish();
}

}  // namespace zelvane::tools
