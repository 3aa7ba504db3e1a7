#include "SurfaceShading.h"

namespace zelvane::picture {

namespace {

bool sameDirection(const Direction& a, const Direction& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace

TriangleShader::TriangleShader(const GroupPaint& paint, const TriangleLooks& corners)
    : paint_(&paint),
      corners_(corners),
      oneNormal_(sameDirection(corners[0]->normal, corners[1]->normal) &&
                 sameDirection(corners[0]->normal, corners[2]->normal)),
      frontLight_(shading::lightOfCosine(dotProduct(corners[0]->normal, kLightInCamera))),
      backLight_(shading::lightOfCosine(-dotProduct(corners[0]->normal, kLightInCamera))) {}

}  // namespace zelvane::picture
