#pragma once

#include <string>
#include <vector>

#include "TextureCache.h"
#include "TextureFiles.h"
#include "mesh/MeshStore.h"
#include "mesh/TextureSource.h"

namespace zelvane {

// Where the images of a model's textures are looked for, and where the
// converted ones go.
struct TextureSearch {
    std::vector<std::string> modelFolders;  // per store texture number: the folder of the model that named it
    std::vector<std::string> extraFolders;  // looked in after the model's folder, in order
    std::vector<TextureSource> sources;     // per store texture number, where the model says more than the name
    std::string outputFolder;               // beside the outputs ("" is the current folder)
    std::vector<std::string> reservedNames;  // names of other outputs there, which no image may take
    bool keepDecoded = false;                // keep each image's pixels too (TextureFile::decoded)
    bool onlyDecoded = false;                // and make no file of a converted one: only a picture shows them
    bool pcx = false;  // 8-bit PCX files for the game instead (see prepareTextureFiles)
    // The run's conversions, shared with the other models converted in it;
    // none: this model's alone.
    TextureCache* cache = nullptr;
};

// A texture whose image the outputs cannot have: its name as the model
// gives it, why, and the folders it was looked for in.
struct TextureWarning {
    uint32_t texture = 0;  // the store's number for it
    std::string name;
    std::string reason;
    std::vector<std::string> folders;  // none for an image the model holds
};

// Finds the image of every texture a group uses (the bytes its source
// holds, or the file its source's or its own name leads to) and makes it
// one the outputs can reference: a PCX, BMP or TGA image converted to PNG, named
// after the texture's file name with ".png", or a PNG or JPEG image taken as
// it is; or, for pcx, an 8-bit paletted PCX file named after the texture's
// file name with ".pcx", a PCX source copied as it is and any other
// decoded and given a palette (transparency dropped, with a warning that
// says so). Two images that would get one name get "-2", "-3", ... suffixes,
// and no name is that of a source image. The sources are only read. The
// warnings come in the order of the textures. An image file is read and
// converted once per cache; the names are the model's own.
TextureFiles prepareTextureFiles(const MeshStore& store, const TextureSearch& search,
                                 std::vector<TextureWarning>& warnings);

}  // namespace zelvane
