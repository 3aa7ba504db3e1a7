// The one translation unit with tinygltf's implementation. Its writing
// functions, which the converter does not call, use file streams whether
// or not the file callbacks are its own.
#include <fstream>

#define TINYGLTF_IMPLEMENTATION
#include "TinyGltf.h"
