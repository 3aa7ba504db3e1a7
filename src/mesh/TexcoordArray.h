#pragma once

#include <cstddef>

#include "LargeAllocator.h"
#include "Vector3.h"

namespace zelvane {

// The store's texture coordinates (u, v), each read as the Vector3
// (u, v, 0.0). While every u is a float widened to double and every v is one
// minus such a float, as in every MAG5 file, an entry takes 8 bytes: the two
// floats. The first entry that cannot be kept that way moves the whole array
// to doubles, 16 bytes an entry, so that every value is kept exactly.
class TexcoordArray {
public:
    size_t size() const { return wide_ ? wideEntries_.size() : narrowEntries_.size(); }
    bool empty() const { return size() == 0; }
    Vector3 operator[](size_t index) const {
        if (wide_) {
            return {wideEntries_[index].u, wideEntries_[index].v, 0.0};
        }
        const Narrow& entry = narrowEntries_[index];
        return {static_cast<double>(entry.u), 1.0 - static_cast<double>(entry.oneMinusV), 0.0};
    }

    void append(double u, double v) {
        Narrow narrow;
        if (!wide_ && narrowed(u, v, narrow)) {
            narrowEntries_.push_back(narrow);
        } else {
            appendWide(u, v);
        }
    }
    void reserve(size_t count);

private:
    struct Narrow {
        float u;
        float oneMinusV;
    };
    struct Wide {
        double u;
        double v;
    };
    static bool narrowed(double u, double v, Narrow& narrow);
    void appendWide(double u, double v);

    bool wide_ = false;
    LargeVector<Narrow> narrowEntries_;
    LargeVector<Wide> wideEntries_;
};

}  // namespace zelvane
