// The largest single allocation through operator new while a watch is
// running: this test program replaces the global operator new to keep it.
#pragma once

#include <cstddef>

namespace zelvane::test {

class AllocationWatch {
public:
    AllocationWatch();  // starts from zero
    size_t largest() const;
};

}  // namespace zelvane::test
