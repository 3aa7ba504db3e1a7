#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <limits>
#include <random>

#include "StoreEntries.h"
#include "mesh/MeshStore.h"

namespace zelvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Material colourOnly(double red, double fourth = 1.0) {
    return Material{0, {red, 0.0, 0.0, fourth}};
}

// The store written the slow, obvious way: every addition appended, then
// each array merged by searching the distinct entries from the front and
// rewriting every polygon slot that holds the old index.
struct ReferenceStore {
    std::vector<Vector3> positions, normals, texcoords;
    std::vector<Polygon> polygons;

    void addVertex(const Vector3& position, const Vector3& normal) {
        positions.push_back(position);
        normals.push_back(normal);
    }

    template <size_t N>
    void addPolygon(const std::array<uint32_t, N>& vertex, const Material& material, const std::array<double, N>& u,
                    const std::array<double, N>& v, const std::array<Vector3, N>* cornerNormals) {
        Polygon polygon{N, {}, {}, {}, material};
        for (uint32_t k = 0; k < N; ++k) {
            polygon.vertex[k] = vertex[k];
            polygon.normal[k] = vertex[k];
            if (material.texture != 0) {
                polygon.texcoord[k] = static_cast<uint32_t>(texcoords.size());
                texcoords.push_back({u[k], v[k], 0.0});
            }
            if (cornerNormals != nullptr) {
                polygon.normal[k] = static_cast<uint32_t>(normals.size());
                normals.push_back((*cornerNormals)[k]);
            }
        }
        polygons.push_back(polygon);
    }

    void merge(std::vector<Vector3>& entries, std::array<uint32_t, 4> Polygon::*field) {
        std::vector<Vector3> distinct;
        for (size_t i = 0; i < entries.size(); ++i) {
            size_t j = 0;
            while (j < distinct.size() && !(distinct[j] == entries[i])) ++j;
            if (j == distinct.size()) distinct.push_back(entries[i]);
            for (Polygon& polygon : polygons) {
                for (uint32_t k = 0; k < polygon.cornerCount; ++k) {
                    if ((polygon.*field)[k] == i) (polygon.*field)[k] = static_cast<uint32_t>(j);
                }
            }
        }
        entries = distinct;
    }

    void mergeDuplicates() {
        merge(positions, &Polygon::vertex);
        merge(normals, &Polygon::normal);
        merge(texcoords, &Polygon::texcoord);
    }
};

template <typename Array>
bool sameBits(const Array& array, const std::vector<Vector3>& expected) {
    const std::vector<Vector3> entries = entriesOf(array);
    return entries.size() == expected.size() &&
           std::memcmp(entries.data(), expected.data(), entries.size() * sizeof(Vector3)) == 0;
}

TEST(MergeDuplicates, SharedPositionWithDifferentNormalsKeepsBothNormals) {
    MeshStore store;
    store.addVertex({1, 2, 3}, {0, 0, 1});
    store.addVertex({5, 5, 5}, {0, 0, 1});
    store.addVertex({1, 2, 3}, {0, 1, 0});
    store.addTriangle({0, 1, 2}, colourOnly(0), {}, {});
    store.mergeDuplicates();
    EXPECT_EQ(entriesOf(store.positions), (std::vector<Vector3>{{1, 2, 3}, {5, 5, 5}}));
    EXPECT_EQ(entriesOf(store.normals), (std::vector<Vector3>{{0, 0, 1}, {0, 1, 0}}));
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
    EXPECT_EQ(entriesOf(store.normals), (std::vector<Vector3>{{1, 0, 0}, {0, 1, 0}}));
    for (size_t index = 0; index < store.polygons.size(); ++index) {
        EXPECT_EQ(store.polygons[index].normal, (std::array<uint32_t, 4>{1, 1, 1, 0}));
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
    EXPECT_EQ(entriesOf(store.positions), entriesOf(before.positions));
    EXPECT_EQ(entriesOf(store.normals), entriesOf(before.normals));
    EXPECT_EQ(store.polygons[0].vertex, before.polygons[0].vertex);
    store.mergeDuplicates();  // a second pass finds nothing to do
    EXPECT_EQ(entriesOf(store.positions), entriesOf(before.positions));
}

// Adds the same random polygon, a triangle or a quad, to both stores: flat
// shaded (one normal for every corner), smooth (the normals of its vertices)
// or with a normal of its own at each corner. Vertices lie out of range
// only where the corners bring their own normals: a smooth corner's normal
// is the one of its vertex.
template <size_t N, typename Random, typename PickValue>
void addRandomPolygon(MeshStore& store, ReferenceStore& expected, uint32_t vertexCount, Random& random,
                      PickValue pickValue) {
    auto pickVector = [&] { return Vector3{pickValue(), pickValue(), pickValue()}; };
    std::array<Vector3, N> normals;
    const int shading = static_cast<int>(random() % 3);
    normals.fill(pickVector());
    if (shading == 2) {
        for (Vector3& normal : normals) normal = pickVector();
    }
    const auto* cornerNormals = shading == 0 ? nullptr : &normals;
    const uint32_t vertexRange = vertexCount + (cornerNormals != nullptr ? 3 : 0);
    std::array<uint32_t, N> vertex;
    std::array<double, N> u;
    std::array<double, N> v;
    for (size_t k = 0; k < N; ++k) {
        vertex[k] = static_cast<uint32_t>(random() % vertexRange);
        u[k] = pickValue();
        v[k] = pickValue();
    }
    const Material material{static_cast<uint32_t>(random() % 3), {}};
    if constexpr (N == 3) {
        store.addTriangle(vertex, material, u, v, cornerNormals);
    } else {
        store.addQuad(vertex, material, u, v, cornerNormals);
    }
    expected.addPolygon(vertex, material, u, v, cornerNormals);
}

// Fills both stores with the same random model, merges both and compares
// every entry bit for bit and every polygon's indices.
template <typename Random, typename PickValue>
void expectSameAsReference(Random& random, PickValue pickValue, uint32_t vertexCount, int polygonCount) {
    MeshStore store;
    ReferenceStore expected;
    for (uint32_t i = 0; i < vertexCount; ++i) {
        const Vector3 position{pickValue(), pickValue(), pickValue()};
        const Vector3 normal{pickValue(), pickValue(), pickValue()};
        store.addVertex(position, normal);
        expected.addVertex(position, normal);
    }
    for (int p = 0; p < polygonCount; ++p) {
        if (random() % 2 == 0) {
            addRandomPolygon<3>(store, expected, vertexCount, random, pickValue);
        } else {
            addRandomPolygon<4>(store, expected, vertexCount, random, pickValue);
        }
    }
    expected.mergeDuplicates();
    store.mergeDuplicates();
    ASSERT_TRUE(sameBits(store.positions, expected.positions));
    ASSERT_TRUE(sameBits(store.normals, expected.normals));
    ASSERT_TRUE(sameBits(store.texcoords, expected.texcoords));
    ASSERT_EQ(store.polygons.size(), expected.polygons.size());
    for (size_t p = 0; p < store.polygons.size(); ++p) {
        const Polygon polygon = store.polygons[p];
        ASSERT_EQ(polygon.cornerCount, expected.polygons[p].cornerCount);
        ASSERT_EQ(polygon.vertex, expected.polygons[p].vertex);
        ASSERT_EQ(polygon.normal, expected.polygons[p].normal);
        ASSERT_EQ(polygon.texcoord, expected.polygons[p].texcoord);
    }
}

// Random stores with many repeats, signed zeros, NaNs and out-of-range
// indices: sharing entries as they are added and merging positions with a
// hash must give exactly what the obvious search gives.
TEST(MergeDuplicates, MatchesTheObviousSearchOnRandomStores) {
    std::mt19937 random(12345);
    const double values[] = {0.0, -0.0, 1.0, -1.0, 0.5, kNaN, 1e300, 3.0};
    auto pick = [&] { return random() % 4 == 0 ? 0.0 : values[random() % std::size(values)]; };
    for (int round = 0; round < 50; ++round) {
        expectSameAsReference(random, pick, static_cast<uint32_t>(1 + random() % 60), 80);
    }
}

// Random stores whose values are nearly all distinct, as in smooth and
// flat models: floats widened and one minus floats, as a model file gives,
// so that entries are kept in floats, then also doubles that floats cannot
// hold; a few edge values (signed zeros, NaN, huge) and a few repeats of
// earlier values among them. Thousands of entries, so that the lookups grow
// several times and corner indices pass 255.
TEST(MergeDuplicates, MatchesTheObviousSearchOnDistinctValues) {
    std::mt19937 random(54321);
    std::uniform_real_distribution<float> coordinate(-100.0f, 100.0f);
    std::uniform_real_distribution<double> anyDouble(-100.0, 100.0);
    std::vector<double> earlier{0.0};
    for (const bool onlyFloats : {true, false}) {
        auto pick = [&] {
            const auto kind = random() % 100;
            double value = kind < 2 ? earlier[random() % earlier.size()]
                         : kind < 4 ? std::array<double, 4>{0.0, -0.0, kNaN, 1e300}[random() % 4]
                         : onlyFloats || kind < 60 ? (kind % 2 == 0 ? 1.0 - double(coordinate(random)) : double(coordinate(random)))
                                                   : anyDouble(random);
            earlier.push_back(value);
            return value;
        };
        for (int round = 0; round < 3; ++round) {
            expectSameAsReference(random, pick, 300, 700);
        }
    }
}

// Entries with a NaN take indices but no place in the lookup: values that
// come after many of them are still found.
TEST(MergeDuplicates, ValuesAfterManyNaNsAreStillShared) {
    MeshStore store;
    store.addVertex({}, {});
    const std::array<double, 4> nan{kNaN, kNaN, kNaN, kNaN};
    for (int quad = 0; quad < 100; ++quad) store.addQuad({0, 0, 0, 0}, Material{1, {}}, nan, nan);
    for (int quad = 0; quad < 2; ++quad) {
        store.addQuad({0, 0, 0, 0}, Material{1, {}}, {0.25, 0.5, 0.25, 0.5}, {1, 1, 1, 1});
    }
    store.mergeDuplicates();
    ASSERT_EQ(store.texcoords.size(), 402u);
    EXPECT_EQ(store.polygons[101].texcoord, (std::array<uint32_t, 4>{400, 401, 400, 401}));
}

// Hundreds of thousands of distinct texture coordinates: the lookup table
// grows large enough that the few hash bits its slots keep often agree for
// different values, and only comparing the values themselves keeps them apart.
TEST(MergeDuplicates, ManyDistinctValuesAreNeverShared) {
    MeshStore store;
    store.addVertex({}, {});
    constexpr uint32_t kQuads = 100000;
    for (uint32_t quad = 0; quad < kQuads; ++quad) {
        const double first = 4.0 * quad;
        store.addQuad({0, 0, 0, 0}, Material{1, {}}, {first, first + 1, first + 2, first + 3}, {0.5, 0.5, 0.5, 0.5});
    }
    store.mergeDuplicates();
    ASSERT_EQ(store.texcoords.size(), 4 * kQuads);
    for (uint32_t quad = 0; quad < kQuads; ++quad) {
        const uint32_t first = 4 * quad;
        ASSERT_EQ(store.polygons[quad].texcoord, (std::array<uint32_t, 4>{first, first + 1, first + 2, first + 3}));
        ASSERT_EQ(store.texcoords[first + 3], (Vector3{first + 3.0, 0.5, 0.0}));
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
    store.groupByMaterial();  // grouping again changes nothing
    ASSERT_EQ(store.groups.size(), 2u);
    EXPECT_EQ(store.groups.begin()->second, (GroupPolygons{0, 2, 3}));
    EXPECT_EQ(std::next(store.groups.begin())->second, (GroupPolygons{1}));
}

TEST(GroupByMaterial, GroupIdsAreDistinct) {
    MeshStore store;
    store.addVertex({}, {});
    for (int i = 0; i < 20; ++i) store.addTriangle({0, 0, 0}, colourOnly(i / 20.0), {}, {});
    store.groupByMaterial();
    std::set<uint64_t> ids;
    for (const auto& group : store.groups) ids.insert(groupId(group));
    EXPECT_EQ(ids.size(), 20u);
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

// Small and large models (a large one is grouped on a second thread while
// its positions merge) end as merging and then grouping leave them.
TEST(MergeAndGroup, LargeModelEndsAsMergingThenGrouping) {
    for (const uint32_t polygonCount : {1000u, 150000u}) {
        const auto fill = [&](MeshStore& store) {
            std::mt19937 random(polygonCount);
            constexpr uint32_t kVertices = 50000;  // of 7,000 distinct positions
            const auto below = [&](uint32_t count) { return static_cast<uint32_t>(random() % count); };
            for (uint32_t i = 0; i < kVertices; ++i) {
                store.addVertex({1.0 * below(1000), 1.0 * below(7), 0.0}, {0.0, 0.0, 1.0});
            }
            for (uint32_t p = 0; p < polygonCount; ++p) {
                store.addTriangle({below(kVertices), below(kVertices), below(kVertices)}, colourOnly(below(40) / 40.0),
                                  {}, {});
            }
        };
        MeshStore together;
        MeshStore apart;
        fill(together);
        fill(apart);
        together.mergeAndGroup();
        apart.mergeDuplicates();
        apart.groupByMaterial();
        ASSERT_TRUE(sameBits(together.positions, entriesOf(apart.positions)));
        ASSERT_EQ(together.polygons.size(), polygonCount);
        for (size_t p = 0; p < polygonCount; ++p) {
            ASSERT_EQ(together.polygons.vertices(p), apart.polygons.vertices(p)) << p;
        }
        ASSERT_EQ(groupKeys(together), groupKeys(apart));
        EXPECT_TRUE(std::equal(together.groups.begin(), together.groups.end(), apart.groups.begin(),
                               [](const auto& a, const auto& b) { return a.second == b.second; }));
    }
}

}  // namespace
}  // namespace zelvane
