// Reading the image formats a model's textures come in, and writing PNG.
// Every input is untrusted: a decoder checks each read against the bytes it
// has and never sets aside more memory than the file's bytes can fill.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Image.h"

namespace zelvane {

enum class ImageFormat { kUnknown, kPcx, kBmp, kTga, kPng, kJpeg };

// The format of an image file, from its first bytes; TGA, which has no
// signature, from a ".tga" ending of the name (any letter case).
ImageFormat detectImageFormat(std::span<const uint8_t> bytes, std::string_view fileName);

// "image/png" for kPng, "image/jpeg" for kJpeg, "" otherwise.
std::string_view mimeTypeOf(ImageFormat format);

struct DecodedImage {
    std::optional<Image> image;
    std::string error;  // lower-case words when there is no image, e.g. "PCX data ends early"
};

// Decodes a PCX, BMP, TGA, PNG or JPEG file (any other format is an error).
DecodedImage decodeImage(std::span<const uint8_t> bytes, ImageFormat format);

// Checks that a PNG or JPEG file has a readable header of a sensible size;
// the error's words, or "" when it is fine.
std::string checkImageHeader(std::span<const uint8_t> bytes, ImageFormat format);

// How encodePng goes about a small file: kSmallest gives each row the
// filter of the smallest sum and compresses at zlib's thorough level, for
// texture images; kQuick leaves the rows unfiltered and compresses at zlib's
// fast level, several times faster, for pictures drawn anew on every run.
enum class PngEffort { kSmallest, kQuick };

// The image as a PNG file: paletted for a paletted image, else RGB or RGBA.
// Empty when the pixels do not match the size and format, or the image is
// over 2 GiB.
std::vector<uint8_t> encodePng(const Image& image, PngEffort effort = PngEffort::kSmallest);

}  // namespace zelvane
