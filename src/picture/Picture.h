// A picture of a model: every polygon drawn from one fixed view, so that the
// pictures of any two models are comparable and the same model gives the same
// bytes on every run, with any number of threads, on Linux and on Windows.
//
// The view, in the model's own coordinates (Y up, as glTF has them):
// - the box of the finite positions the polygons use, its centre c and r,
//   half its diagonal (1 when that is 0);
// - the eye at c + d * r / sin 15 degrees, where d is the unit direction
//   at 40 degrees from +Z towards +X and 25 degrees above the horizon,
//   (cos 25 sin 40, sin 25, cos 25 cos 40) = (0.58256, 0.42262, 0.69427),
//   looking at c with +Y up;
// - a perspective with a vertical field of view of 30 degrees over a square
//   picture, so that the sphere around the box just fits; near plane at 2 r
//   from the eye, and nothing lies beyond 4.87 r (any far plane past it
//   gives the same picture).
// Both sides of every polygon are drawn (a quad as the triangles 0 1 2 and
// 0 2 3), nearest first. A surface shows its group colour (each channel
// clamped to 0..1, a NaN taken as 0), times the nearest pixel of its image
// when it has one (repeated beyond 0..1, v counted from the image's top as
// the glTF output has it), lit by white light from 15 degrees above the
// eye's direction, (cos 40 sin 40, sin 40, cos 40 cos 40) = (0.49240,
// 0.64279, 0.58682): 30 % ambient and 70 % diffuse on the normal turned
// towards the eye. Normals are the corners' (a normal without a direction
// gives way to the polygon's own), interpolated across the polygon.
// Every pixel takes 2 x 2 samples: its alpha is the share of them covered
// (0, 64, 128, 191 or 255), its colour their mean; the background is
// transparent black.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "image/Image.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// The largest picture side drawn: its samples take 512 MiB.
inline constexpr uint32_t kLargestPictureSide = 4096;

// The rows of a picture as they are drawn, top to bottom: whole rows of RGBA
// pixels, a strip of them at a time, handed on by one thread at a time.
using PictureRows = std::function<void(std::span<const uint8_t> pixels)>;

// The picture of a merged and grouped store, size x size RGBA pixels.
// imageOfTexture gives, for each store texture number, the decoded image its
// groups show, or nullptr (or no entry) for their colour alone. threads is
// how many threads draw: 1 (or 0) draws on the caller's thread alone. A size
// of 0 gives an empty image; one above kLargestPictureSide throws
// std::invalid_argument.
Image renderPicture(const MeshStore& store, const std::vector<const Image*>& imageOfTexture, uint32_t size,
                    unsigned threads);

// The same picture's rows handed on to rows as they are drawn, so that they
// can be written while the next ones are drawn; rows must not throw.
void drawPicture(const MeshStore& store, const std::vector<const Image*>& imageOfTexture, uint32_t size,
                 unsigned threads, const PictureRows& rows);

}  // namespace zelvane
