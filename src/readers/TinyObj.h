// tinyobjloader as the readers use it: coordinates in double precision.
#pragma once

#define TINYOBJLOADER_USE_DOUBLE
#include <tiny_obj_loader.h>
