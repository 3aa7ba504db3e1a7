// Draws a model's picture to a PNG file, for the comparison with Blender and
// between builds:
//   draw_model_picture <model.mag> <texture folder> <side> <out.png> [threads]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "LoadedModel.h"
#include "image/ImageCodec.h"
#include "picture/Picture.h"

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: draw_model_picture <model.mag> <texture folder> <side> <out.png> [threads]\n");
        return 1;
    }
    try {
        const auto model = zelvane::test::loadModel(argv[1], argv[2]);
        const auto side = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
        const auto threads = argc == 6 ? static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10)) : 1u;
        const std::vector<uint8_t> png =
            zelvane::encodePng(zelvane::renderPicture(model->store, model->imageOfTexture, side, threads));
        std::ofstream out(argv[4], std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (png.empty() || !out.flush()) {
            std::fprintf(stderr, "draw_model_picture: cannot write %s\n", argv[4]);
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "draw_model_picture: %s\n", error.what());
        return 2;
    }
    return 0;
}
