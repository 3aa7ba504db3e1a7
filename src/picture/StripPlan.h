// How a picture's rows are cut into strips. Each strip draws every triangle
// into samples that the next strip reuses: a strip small enough to stay in
// the cache costs little fresh memory, while every strip more costs a visit
// to every polygon, so a model of many polygons gets few strips.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvane::picture {

class StripPlan {
public:
    // At least one strip per thread.
    StripPlan(uint32_t pictureSide, size_t polygons, unsigned threads);

    uint32_t count() const { return count_; }
    // The pixel rows [firstRow(k), firstRow(k + 1)) make strip k.
    uint32_t firstRow(uint32_t strip) const {
        return static_cast<uint32_t>(uint64_t{side_} * strip / count_);
    }
    // The most rows a strip has.
    uint32_t tallest() const { return (side_ + count_ - 1) / count_; }

    // Whether the threads should rather each draw a share of the polygons
    // over the whole picture: so many polygons that visiting each once per
    // strip costs more than every thread clearing and merging a whole
    // picture of samples, in a picture small enough to have one per thread.
    bool sharesPolygons() const { return sharesPolygons_; }

private:
    uint32_t side_;
    uint32_t count_;
    bool sharesPolygons_;
};

}  // namespace zelvane::picture
