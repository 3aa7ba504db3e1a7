#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "format/FormatWriter.h"

namespace zelvane {

// The model's picture (see Picture.h), size x size pixels, as the PNG file
// path among the outputs; the groups show the images found for their
// textures (TextureFile::decoded). Drawn by up to threads threads, with the
// same bytes whatever their number. False when the file fails (the set's
// error says which).
bool writePicture(OutputSet& outputs, const ModelOutput& model, const std::string& path, uint32_t size,
                  unsigned threads);

// The same picture drawn while the caller writes the model's other outputs:
// with more than one thread, drawing starts at once on threads of its own;
// otherwise (or when no thread can be started) it is drawn when written.
// The model must not change until the picture is written or dropped.
class PictureDrawing {
public:
    PictureDrawing(const ModelOutput& model, uint32_t size, unsigned threads);
    ~PictureDrawing();
    PictureDrawing(const PictureDrawing&) = delete;
    PictureDrawing& operator=(const PictureDrawing&) = delete;

    // Waits for the picture and writes it as path among the outputs; false
    // when the file fails. Throws what drawing threw.
    bool write(OutputSet& outputs, const std::string& path);

private:
    void draw() noexcept;
    void wait();

    const ModelOutput& model_;
    uint32_t size_;
    unsigned threads_;
    std::vector<uint8_t> png_;
    std::exception_ptr failure_;
    std::thread drawer_;
};

}  // namespace zelvane
