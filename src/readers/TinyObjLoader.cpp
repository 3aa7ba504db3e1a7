// The one translation unit with tinyobjloader's implementation, in double
// precision: the converter keeps coordinates as doubles.
#define TINYOBJLOADER_IMPLEMENTATION
#include "TinyObj.h"
