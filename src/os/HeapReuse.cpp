#include "HeapReuse.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace zelvane {

void keepFreedMemoryForReuse() {
#ifdef __GLIBC__
    constexpr int kLargestHeapBlock = 32 << 20;  // the most glibc accepts
    constexpr int kUnusedHeapKept = 128 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kUnusedHeapKept);
#endif
}

}  // namespace zelvane
