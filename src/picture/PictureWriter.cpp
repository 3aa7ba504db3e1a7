#include "PictureWriter.h"

#include <system_error>
#include <vector>

#include "Picture.h"
#include "image/RgbaPngStream.h"
#include "os/Threads.h"

namespace zelvane {
namespace {

// Per store texture number: the pixels of its image, where it has some.
std::vector<const Image*> imagesOfTextures(const TextureFiles& textures) {
    std::vector<const Image*> images(textures.fileOfTexture.size(), nullptr);
    for (uint32_t texture = 0; texture < images.size(); ++texture) {
        const TextureFile* file = textures.fileFor(texture);
        if (file != nullptr && file->decoded().width > 0) {
            images[texture] = &file->decoded();
        }
    }
    return images;
}

std::vector<uint8_t> pngOfPicture(const ModelOutput& model, uint32_t size, unsigned threads) {
    image::RgbaPngStream stream(size, size);
    drawPicture(model.store, imagesOfTextures(model.textures), size, threads,
                [&](std::span<const uint8_t> pixels) { stream.addRows(pixels); });
    return stream.finish();
}

bool writePng(OutputSet& outputs, const std::string& path, const std::vector<uint8_t>& png) {
    OutputFile* file = outputs.create(path, FileMode::kBinary);
    if (file == nullptr) {
        return false;
    }
    file->write({reinterpret_cast<const char*>(png.data()), png.size()});
    return outputs.close(*file);
}

}  // namespace

bool writePicture(OutputSet& outputs, const ModelOutput& model, const std::string& path, uint32_t size,
                  unsigned threads) {
    return writePng(outputs, path, pngOfPicture(model, size, threads));
}

PictureDrawing::PictureDrawing(const ModelOutput& model, uint32_t size, unsigned threads)
    : model_(model), size_(size), threads_(threads) {
    if (threads > 1) {
        try {
            drawer_ = startThread([this] { draw(); });
        } catch (const std::system_error&) {
            // drawn when written
        }
    }
}

PictureDrawing::~PictureDrawing() {
    if (drawer_.joinable()) {
        drawer_.join();
    }
}

void PictureDrawing::draw() noexcept {
    try {
        png_ = pngOfPicture(model_, size_, threads_);
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void PictureDrawing::wait() {
    if (drawer_.joinable()) {
        drawer_.join();
    } else {
        draw();
    }
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

bool PictureDrawing::write(OutputSet& outputs, const std::string& path) {
    wait();
    return writePng(outputs, path, png_);
}

}  // namespace zelvane
