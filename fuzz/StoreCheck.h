// What every fuzz target checks of a store, loaded whole or not.
#pragma once

#include "mesh/MeshStore.h"

namespace zelvane::fuzz {

[[noreturn]] void fail(const std::string& what);

// Every polygon a triangle or quad whose corners refer within the store's
// arrays, and whose texture is one the store names (or the number of a
// texture its file lacks).
void checkStore(const MeshStore& store);

}  // namespace zelvane::fuzz
