#include "ImageLimits.h"

namespace zelvane::image {

namespace {

std::string sizeWords(uint64_t width, uint64_t height) {
    return "image is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

std::string checkImageSide(uint64_t width, uint64_t height) {
    if (width == 0 || height == 0) {
        return sizeWords(width, height) + ", which is empty";
    }
    if (width > kMaxImageSide || height > kMaxImageSide) {
        return sizeWords(width, height) + ", larger than " + std::to_string(kMaxImageSide) + " on a side";
    }
    return "";
}

std::string tooLargeForFile(uint64_t width, uint64_t height) {
    return sizeWords(width, height) + ", more than its file can hold";
}

}  // namespace zelvane::image
