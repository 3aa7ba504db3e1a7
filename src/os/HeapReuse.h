#pragma once

namespace zelvane {

// Has the heap keep the memory freed by one model for the next, where the
// C library lets it (glibc): blocks of up to 32 MiB come from the heap
// instead of mappings of their own, and the heap is not handed back to the
// system while it holds less than 128 MiB unused. Converting many models in
// a run then touches fresh memory, a page fault for every 4 KiB of it, only
// while its largest model grows. Elsewhere it does nothing.
void keepFreedMemoryForReuse();

}  // namespace zelvane
