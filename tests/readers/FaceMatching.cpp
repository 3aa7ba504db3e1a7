#include "FaceMatching.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace zelvane::test {
namespace {

constexpr size_t kUnpaired = std::numeric_limits<size_t>::max();
constexpr size_t kReportedFaces = 5;

bool sameCorner(const ExpectedCorner& expected, const ReadCorner& read) {
    if (expected.texcoord.has_value() != read.texcoord.has_value()) {
        return false;
    }
    return withinTolerance(expected.position, read.position, kSixDecimals) &&
           withinTolerance(expected.normal, read.normal, kSixDecimals) &&
           (!expected.texcoord || withinTolerance(*expected.texcoord, *read.texcoord, kSixDecimals));
}

template <size_t N>
void printValues(std::ostream& out, const std::array<double, N>& values) {
    out << '(';
    for (size_t k = 0; k < N; ++k) {
        out << (k == 0 ? "" : " ") << values[k];
    }
    out << ')';
}

template <typename Corner>
void printCorners(std::ostream& out, const std::vector<Corner>& corners) {
    for (const Corner& corner : corners) {
        out << " v";
        printValues(out, corner.position);
        out << " vn";
        printValues(out, corner.normal);
        if (corner.texcoord) {
            out << " vt";
            printValues(out, *corner.texcoord);
        }
    }
}

std::string describe(const ExpectedFace& face) {
    std::ostringstream out;
    out.precision(9);
    out << face.origin << ": Kd";
    printValues(out, face.diffuse);
    out << " image " << (face.image ? "\"" + *face.image + "\"" : "(outside the table)");
    printCorners(out, face.corners);
    return out.str();
}

std::string describe(const ReadFace& face, size_t index) {
    std::ostringstream out;
    out.precision(9);
    out << "read face " << index << ":";
    if (face.material) {
        out << " " << face.material->name << " Kd";
        printValues(out, face.material->diffuse);
        out << " map_Kd \"" << face.material->diffuseTexture << "\"";
    }
    printCorners(out, face.corners);
    return out.str();
}

// Lists the first few faces that nothing paired with.
template <typename Describe>
void reportUnpaired(std::ostream& out, const char* heading, const std::vector<size_t>& unpaired, Describe describeAt) {
    if (unpaired.empty()) {
        return;
    }
    out << unpaired.size() << " " << heading << "\n";
    for (size_t k = 0; k < unpaired.size() && k < kReportedFaces; ++k) {
        out << "  " << describeAt(unpaired[k]) << "\n";
    }
}

}  // namespace

bool sameCorners(const ExpectedFace& expected, const ReadFace& read) {
    if (expected.corners.size() != read.corners.size()) {
        return false;
    }
    for (size_t k = 0; k < expected.corners.size(); ++k) {
        if (!sameCorner(expected.corners[k], read.corners[k])) {
            return false;
        }
    }
    return true;
}

bool sameMaterial(const ExpectedFace& expected, const ReadMaterial& material) {
    return withinTolerance(expected.diffuse, material.diffuse, kColourTolerance) &&
           material.diffuseTexture == expected.image.value_or("");
}

FacePairing pairFaces(const std::vector<ExpectedFace>& expected, const std::vector<ReadFace>& read,
                      const PairCondition& condition) {
    FacePairing pairing{std::vector<size_t>(read.size(), kUnpaired), {}};
    std::vector<bool> taken(expected.size(), false);
    std::vector<size_t> unpairedRead;
    for (size_t r = 0; r < read.size(); ++r) {
        for (size_t e = 0; e < expected.size() && pairing.expectedOfRead[r] == kUnpaired; ++e) {
            if (!taken[e] && sameCorners(expected[e], read[r]) && condition(e, r)) {
                taken[e] = true;
                pairing.expectedOfRead[r] = e;
            }
        }
        if (pairing.expectedOfRead[r] == kUnpaired) {
            unpairedRead.push_back(r);
        }
    }
    std::vector<size_t> unpairedExpected;
    for (size_t e = 0; e < expected.size(); ++e) {
        if (!taken[e]) {
            unpairedExpected.push_back(e);
        }
    }
    std::ostringstream problems;
    reportUnpaired(problems, "faces read that no model polygon gives:", unpairedRead,
                   [&](size_t r) { return describe(read[r], r); });
    reportUnpaired(problems, "model polygons not found:", unpairedExpected,
                   [&](size_t e) { return describe(expected[e]); });
    pairing.problems = problems.str();
    return pairing;
}

}  // namespace zelvane::test
