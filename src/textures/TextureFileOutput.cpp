#include "TextureFileOutput.h"

namespace zelvane {

bool writeTextureFiles(OutputSet& outputs, const TextureFiles& textures, const std::string& folder) {
    for (const TextureFile& file : textures.files) {
        if (file.inPlace) {
            continue;
        }
        OutputFile* output = outputs.create(folder + file.fileName, FileMode::kBinary);
        if (output == nullptr) {
            return false;
        }
        output->write({reinterpret_cast<const char*>(file.bytes().data()), file.bytes().size()});
        if (!outputs.close(*output)) {
            return false;
        }
    }
    return true;
}

}  // namespace zelvane
