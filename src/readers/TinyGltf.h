// tinygltf as the readers use it: no image decoding (the textures' code
// does that), no image file read while parsing, and no file opened but
// through the callbacks the reader gives it.
#pragma once

#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#define TINYGLTF_NO_FS
#include <tiny_gltf.h>
