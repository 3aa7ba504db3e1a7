#pragma once

#include <cstddef>

namespace zelvane {

// Asks the system to back a large buffer that is about to be filled with
// memory now, in one call, instead of one page fault per page as it fills.
// Only a hint: does nothing where the system cannot do it.
void prefault(const void* data, size_t bytes);

}  // namespace zelvane
