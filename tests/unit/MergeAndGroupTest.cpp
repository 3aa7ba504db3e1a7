#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <limits>
#include <random>

#include "mesh/MeshStore.h"

namespace zelvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Material colourOnly(double red, double fourth = 1.0) {
    return Material{0, {red, 0.0, 0.0, fourth}};
}

// The merge written the slow, obvious way: search the distinct entries from
// the front, and rewrite every polygon slot holding the old index.
void referenceMerge(std::vector<Vector3>& entries, std::vector<Polygon>& polygons,
                    std::array<uint32_t, 4> Polygon::*field) {
    std::vector<Vector3> distinct;
    std::vector<uint32_t> newIndex(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t j = 0;
        while (j < distinct.size() && !(distinct[j] == entries[i])) ++j;
        if (j == distinct.size()) distinct.push_back(entries[i]);
        newIndex[i] = static_cast<uint32_t>(j);
    }
    for (Polygon& polygon : polygons) {
        for (uint32_t k = 0; k < polygon.cornerCount; ++k) {
            uint32_t& slot = (polygon.*field)[k];
            if (slot < entries.size()) slot = newIndex[slot];
        }
    }
    entries = distinct;
}

bool sameBits(const std::vector<Vector3>& a, const std::vector<Vector3>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Vector3)) == 0;
}

TEST(MergeDuplicates, SharedPositionWithDifferentNormalsKeepsBothNormals) {
    MeshStore store;
    store.addVertex({1, 2, 3}, {0, 0, 1});
    store.addVertex({5, 5, 5}, {0, 0, 1});
    store.addVertex({1, 2, 3}, {0, 1, 0});
    store.addTriangle({0, 1, 2}, colourOnly(0), {}, {});
    store.mergeDuplicates();
    EXPECT_EQ(store.positions, (std::vector<Vector3>{{1, 2, 3}, {5, 5, 5}}));
    EXPECT_EQ(store.normals, (std::vector<Vector3>{{0, 0, 1}, {0, 1, 0}}));
    EXPECT_EQ(store.polygons[0].vertex, (std::array<uint32_t, 4>{0, 1, 0, 0}));
    EXPECT_EQ(store.polygons[0].normal, (std::array<uint32_t, 4>{0, 0, 1, 0}));
}

TEST(MergeDuplicates, FlatShadedNormalsCollapseToOne) {
    MeshStore store;
    for (int i = 0; i < 5; ++i) store.addVertex({double(i), 0, 0}, {1, 0, 0});
    const std::array<Vector3, 3> up{{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
    for (uint32_t first = 0; first < 3; ++first) {
        store.addTriangle({first, first + 1, first + 2}, colourOnly(0), {}, {}, &up);
    }
    store.mergeDuplicates();
    EXPECT_EQ(store.normals, (std::vector<Vector3>{{1, 0, 0}, {0, 1, 0}}));
    for (const Polygon& polygon : store.polygons) {
        EXPECT_EQ(polygon.normal, (std::array<uint32_t, 4>{1, 1, 1, 0}));
    }
}

TEST(MergeDuplicates, NegativeZeroEqualsZeroAndFirstOccurrenceWins) {
    MeshStore store;
    store.addVertex({1.0, -0.0, 2.0}, {0, 0, 1});
    store.addVertex({1.0, 0.0, 2.0}, {0, 0, 1});
    store.mergeDuplicates();
    ASSERT_EQ(store.positions.size(), 1u);
    EXPECT_TRUE(std::signbit(store.positions[0].y));
}

TEST(MergeDuplicates, NaNIsNeverMerged) {
    MeshStore store;
    store.addVertex({kNaN, 0, 0}, {0, 0, 1});
    store.addVertex({kNaN, 0, 0}, {0, 0, 1});
    store.addTriangle({0, 1, 0}, colourOnly(0), {}, {});
    store.mergeDuplicates();
    EXPECT_EQ(store.positions.size(), 2u);
    EXPECT_EQ(store.normals.size(), 1u);
    EXPECT_EQ(store.polygons[0].vertex, (std::array<uint32_t, 4>{0, 1, 0, 0}));
}

TEST(MergeDuplicates, OutOfRangeIndicesAndUntexturedSlotsStay) {
    MeshStore store;
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addVertex({0, 0, 0}, {0, 0, 1});
    store.addTriangle({1, 1000, 0}, colourOnly(0), {}, {});
    store.addTriangle({0, 1, 0}, Material{1, {}}, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5});
    store.mergeDuplicates();
    EXPECT_EQ(store.polygons[0].vertex, (std::array<uint32_t, 4>{0, 1000, 0, 0}));
    EXPECT_EQ(store.polygons[0].normal[1], 1000u);
    EXPECT_EQ(store.polygons[0].texcoord, (std::array<uint32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(store.polygons[1].texcoord, (std::array<uint32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(store.texcoords.size(), 1u);
}

TEST(MergeDuplicates, DistinctEntriesKeepTheirOrderAndIndices) {
    MeshStore store;
    for (int i = 0; i < 4; ++i) store.addVertex({double(i), 1, 2}, {double(-i), 0, 0});
    store.addQuad({3, 2, 1, 0}, colourOnly(0), {}, {});
    const MeshStore before = store;
    store.mergeDuplicates();
    EXPECT_EQ(store.positions, before.positions);
    EXPECT_EQ(store.normals, before.normals);
    EXPECT_EQ(store.polygons[0].vertex, before.polygons[0].vertex);
    store.mergeDuplicates();  // a second pass finds nothing to do
    EXPECT_EQ(store.positions, before.positions);
}

// Random stores with many repeats, signed zeros, NaNs and out-of-range
// indices: the hashed merge must give exactly what the obvious search gives.
TEST(MergeDuplicates, MatchesTheObviousSearchOnRandomStores) {
    std::mt19937 random(12345);
    const double values[] = {0.0, -0.0, 1.0, -1.0, 0.5, kNaN, 1e300, 3.0};
    auto pick = [&] { return values[random() % std::size(values)]; };
    auto pickVector = [&] { return Vector3{pick(), pick(), random() % 4 ? 0.0 : pick()}; };
    for (int round = 0; round < 50; ++round) {
        MeshStore store;
        const auto vertexCount = static_cast<uint32_t>(1 + random() % 60);
        for (uint32_t i = 0; i < vertexCount; ++i) store.addVertex(pickVector(), pickVector());
        for (int p = 0; p < 80; ++p) {
            auto corner = [&] { return static_cast<uint32_t>(random() % (vertexCount + 3)); };
            const Material material{static_cast<uint32_t>(random() % 3), {}};
            const std::array<Vector3, 4> normals{pickVector(), pickVector(), pickVector(), pickVector()};
            store.addQuad({corner(), corner(), corner(), corner()}, material, {pick(), pick(), pick(), pick()},
                          {pick(), pick(), pick(), pick()}, random() % 2 ? &normals : nullptr);
        }
        MeshStore expected = store;
        referenceMerge(expected.positions, expected.polygons, &Polygon::vertex);
        referenceMerge(expected.normals, expected.polygons, &Polygon::normal);
        referenceMerge(expected.texcoords, expected.polygons, &Polygon::texcoord);
        store.mergeDuplicates();
        ASSERT_TRUE(sameBits(store.positions, expected.positions));
        ASSERT_TRUE(sameBits(store.normals, expected.normals));
        ASSERT_TRUE(sameBits(store.texcoords, expected.texcoords));
        for (size_t p = 0; p < store.polygons.size(); ++p) {
            ASSERT_EQ(store.polygons[p].vertex, expected.polygons[p].vertex);
            ASSERT_EQ(store.polygons[p].normal, expected.polygons[p].normal);
            ASSERT_EQ(store.polygons[p].texcoord, expected.polygons[p].texcoord);
        }
    }
}

std::vector<Material> groupKeys(const MeshStore& store) {
    std::vector<Material> keys;
    for (const auto& group : store.groups) keys.push_back(group.first);
    return keys;
}

TEST(GroupByMaterial, OrdersByTextureThenEachColourChannel) {
    MeshStore store;
    store.addVertex({}, {});
    const Material a{1, {0, 0, 0, 0}};
    const Material b{0, {1, 1, 1, 1}};
    const Material c{2, {0.5, 0, 0, 1}};
    const Material d{2, {0.25, 1, 1, 1}};
    const Material e{2, {0.25, 1, 1, 0.5}};
    for (const Material& material : {a, b, c, d, e}) store.addTriangle({0, 0, 0}, material, {}, {});
    store.groupByMaterial();
    EXPECT_EQ(groupKeys(store), (std::vector<Material>{b, a, e, d, c}));
}

TEST(GroupByMaterial, KeepsLoadOrderWithinAGroup) {
    MeshStore store;
    store.addVertex({}, {});
    store.addTriangle({0, 0, 0}, colourOnly(0.5), {}, {});  // A
    store.addTriangle({0, 0, 0}, colourOnly(0.7), {}, {});  // B
    store.addTriangle({0, 0, 0}, colourOnly(0.5), {}, {});  // C
    store.addQuad({0, 0, 0, 0}, Material{0, {0.5, 0.0, -0.0, 1.0}}, {}, {});  // equal to A's: -0.0 == 0.0
    store.groupByMaterial();
    ASSERT_EQ(store.groups.size(), 2u);
    EXPECT_EQ(store.groups.begin()->second, (GroupPolygons{0, 2, 3}));
    EXPECT_EQ(std::next(store.groups.begin())->second, (GroupPolygons{1}));
}

TEST(GroupByMaterial, GroupIdsAreDistinctAndStable) {
    MeshStore store;
    store.addVertex({}, {});
    for (int i = 0; i < 20; ++i) store.addTriangle({0, 0, 0}, colourOnly(i / 20.0), {}, {});
    store.groupByMaterial();
    std::set<uint64_t> ids;
    for (const auto& group : store.groups) ids.insert(groupId(group));
    EXPECT_EQ(ids.size(), 20u);
    EXPECT_EQ(groupId(*store.groups.begin()), groupId(*store.groups.begin()));
}

TEST(GroupByMaterial, EmptyStoreHasNoGroups) {
    MeshStore store;
    store.addVertex({1, 1, 1}, {});
    store.addVertex({1, 1, 1}, {});
    store.mergeDuplicates();
    store.groupByMaterial();
    EXPECT_EQ(store.positions.size(), 1u);
    EXPECT_TRUE(store.groups.empty());
}

}  // namespace
}  // namespace zelvane
