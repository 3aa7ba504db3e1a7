#include <gtest/gtest.h>

#include <cmath>

#include "StoreEntries.h"
#include "mesh/MeshStore.h"

namespace zelvane {
namespace {

Material textured(uint32_t texture) {
    return Material{texture, {1.0, 1.0, 1.0, 1.0}};
}

void addThreeVertices(MeshStore& store) {
    for (int i = 0; i < 3; ++i) {
        store.addVertex({double(i), 0.0, 0.0}, {0.0, 0.0, double(i + 1)});
    }
}

TEST(MeshStore, AddTextureFindsExistingNamesByExactBytes) {
    MeshStore store;
    EXPECT_EQ(store.addTexture(""), 0u);
    EXPECT_EQ(store.textures.size(), 1u);
    EXPECT_EQ(store.addTexture("wood.pcx"), 1u);
    EXPECT_EQ(store.addTexture("wood.pcx"), 1u);
    EXPECT_EQ(store.textures.size(), 2u);
    EXPECT_EQ(store.addTexture("WOOD.PCX"), 2u);
    EXPECT_EQ(store.addTexture(std::string_view("wood.pcx\0x", 10)), 3u);  // NUL is a byte like any other
    EXPECT_EQ(store.addTexture(""), 0u);
    EXPECT_EQ(store.textures, (std::vector<std::string>{"", "wood.pcx", "WOOD.PCX", std::string("wood.pcx\0x", 10)}));
}

TEST(MeshStore, AddVertexAppendsPositionAndNormalInStep) {
    MeshStore store;
    EXPECT_EQ(store.addVertex({1, 2, 3}, {0, 1, 0}), 0u);
    EXPECT_EQ(store.addVertex({4, 5, 6}, {1, 0, 0}), 1u);
    ASSERT_EQ(store.positions.size(), 2u);
    ASSERT_EQ(store.normals.size(), 2u);
    EXPECT_EQ(store.positions[1], (Vector3{4, 5, 6}));
    EXPECT_EQ(store.normals[1], (Vector3{1, 0, 0}));
}

TEST(MeshStore, TexturedTriangleGetsTexcoordsOfItsOwn) {
    MeshStore store;
    addThreeVertices(store);
    EXPECT_EQ(store.addTriangle({0, 1, 2}, textured(1), {0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}), 0u);
    const Polygon& triangle = store.polygons[0];
    EXPECT_EQ(triangle.cornerCount, 3u);
    EXPECT_EQ(triangle.texcoord, (std::array<uint32_t, 4>{0, 1, 2, 0}));
    EXPECT_EQ(entriesOf(store.texcoords), (std::vector<Vector3>{{0.1, 0.4, 0}, {0.2, 0.5, 0}, {0.3, 0.6, 0}}));
    EXPECT_EQ(triangle.vertex, (std::array<uint32_t, 4>{0, 1, 2, 0}));
    EXPECT_EQ(triangle.normal, (std::array<uint32_t, 4>{0, 1, 2, 0}));
}

TEST(MeshStore, UntexturedPolygonAddsNoTexcoords) {
    MeshStore store;
    addThreeVertices(store);
    store.addTriangle({2, 1, 0}, textured(0), {0.1, 0.2, 0.3}, {0.4, 0.5, 0.6});
    EXPECT_EQ(store.texcoords.size(), 0u);
    EXPECT_EQ(store.polygons[0].texcoord, (std::array<uint32_t, 4>{0, 0, 0, 0}));
}

TEST(MeshStore, CornerNormalsShareEqualEntries) {
    MeshStore store;
    addThreeVertices(store);
    const std::array<Vector3, 3> cornerNormals{{{0, 1, 0}, {0, 0, 2}, {0, 1, 0}}};
    store.addTriangle({0, 1, 2}, textured(0), {}, {}, &cornerNormals);
    EXPECT_EQ(store.positions.size(), 3u);
    EXPECT_EQ(entriesOf(store.normals), (std::vector<Vector3>{{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 1, 0}}));
    EXPECT_EQ(store.polygons[0].normal, (std::array<uint32_t, 4>{3, 1, 3, 0}));
}

// A vertex added after per-corner normals keeps its own normal: the smooth
// corner finds the normal added with its vertex, not the one at its index.
TEST(MeshStore, SmoothCornerUsesTheNormalAddedWithItsVertex) {
    MeshStore store;
    addThreeVertices(store);
    const std::array<Vector3, 3> faceNormals{};
    store.addTriangle({0, 1, 2}, textured(0), {}, {}, &faceNormals);
    EXPECT_EQ(store.addVertex({9, 9, 9}, {0, 0, -1}), 3u);
    EXPECT_EQ(store.addVertex({8, 8, 8}, {0, 0, 2}), 4u);  // an existing normal
    ASSERT_EQ(store.normals.size(), 5u);
    store.addTriangle({3, 4, 1}, textured(0), {}, {});
    EXPECT_EQ(store.polygons[1].normal, (std::array<uint32_t, 4>{4, 1, 1, 0}));
}

TEST(MeshStore, OutOfRangeVertexIsKeptAndUsedAsNormalIndex) {
    MeshStore store;
    addThreeVertices(store);
    store.addTriangle({0, 1, 77}, textured(0), {}, {});
    EXPECT_EQ(store.polygons[0].vertex[2], 77u);
    EXPECT_EQ(store.polygons[0].normal[2], 77u);
}

TEST(MeshStore, QuadsAndTrianglesShareOneNumbering) {
    MeshStore store;
    addThreeVertices(store);
    store.addVertex({3, 3, 3}, {0, 0, 1});
    const std::array<Vector3, 4> normals{};
    EXPECT_EQ(store.addQuad({0, 1, 2, 3}, textured(2), {1, 2, 3, 4}, {5, 6, 7, 8}, &normals), 0u);
    EXPECT_EQ(store.addTriangle({0, 1, 2}, textured(2), {1, 2, 3}, {5, 6, 7}), 1u);
    const Polygon& quad = store.polygons[0];
    EXPECT_EQ(quad.cornerCount, 4u);
    EXPECT_EQ(quad.texcoord, (std::array<uint32_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(quad.normal, (std::array<uint32_t, 4>{3, 3, 3, 3}));
    EXPECT_EQ(store.texcoords.size(), 4u);
    EXPECT_EQ(store.texcoords[3], (Vector3{4, 8, 0}));
    EXPECT_EQ(store.polygons[1].texcoord, (std::array<uint32_t, 4>{0, 1, 2, 0}));
}

TEST(MeshStore, SameTriangleTwiceIsStoredTwiceSharingItsTexcoords) {
    MeshStore store;
    addThreeVertices(store);
    store.addTriangle({0, 1, 2}, textured(1), {0, -0.0, 0}, {0, 0, 0});
    store.addTriangle({0, 1, 2}, textured(1), {-0.0, 0, 0}, {0, 0, 0});
    EXPECT_EQ(store.polygons.size(), 2u);
    ASSERT_EQ(store.texcoords.size(), 1u);
    EXPECT_FALSE(std::signbit(store.texcoords[0].x));  // the first occurrence's zero
    EXPECT_EQ(store.polygons[1].texcoord, (std::array<uint32_t, 4>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace zelvane
