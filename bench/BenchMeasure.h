// What the benchmark measures in processes of its own: the converter's
// phases inside one process, and the floor.
#pragma once

#include <cstdint>
#include <string>

namespace zelvane::bench {

// One conversion inside a process, phase by phase, with the size of what
// it wrote and of the merged store.
struct PhaseSample {
    double load = 0, merge = 0, group = 0, write = 0;
    uint64_t outputBytes = 0;
    uint64_t doubles = 0;  // numbers written with six decimals
    uint64_t positions = 0, normals = 0, texcoords = 0, materials = 0;
};

// Loads, merges, groups and writes magPath as OBJ+MTL into outFolder.
PhaseSample measurePhases(const std::string& magPath, const std::string& outFolder);

// The floor: the seconds a minimal program takes to format `doubles`
// model-like values with std::to_chars and write `bytes` bytes in all to
// path, in large writes.
double measureFloor(uint64_t doubles, uint64_t bytes, const std::string& path);

}  // namespace zelvane::bench
