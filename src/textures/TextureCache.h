#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "TextureFiles.h"

namespace zelvane {

// What converting one source image gave: its content, or why it failed;
// for a copy, that the source was taken as it is; and a note on what the
// conversion dropped.
struct ImageConversion {
    std::shared_ptr<const ImageContent> content;  // null when it failed
    bool copied = false;
    std::string reason;
    std::string note;
};

// A source image file and everything besides its bytes that its conversion
// depends on: the options (PCX or PNG, the pixels kept, no file made) and
// the last four characters of the name the model gives it (an image that
// has no signature is told by that name's ending).
struct ImageKey {
    uint64_t device = 0;
    uint64_t file = 0;
    unsigned mode = 0;
    std::string ending;  // in ASCII lower case

    auto operator<=>(const ImageKey&) const = default;
};

// The conversions of a run's image files, each read, decoded and encoded
// once whichever models and threads ask for it; a thread that asks for one
// being made waits for it. The files are taken not to change during a run.
class TextureCache {
public:
    using Convert = std::function<ImageConversion()>;

    // The conversion of the key's file: convert's result, made the first
    // time the key is asked for.
    std::shared_ptr<const ImageConversion> conversion(const ImageKey& key, const Convert& convert);

    // How many conversions were made.
    size_t size() const;

private:
    struct Entry {
        std::once_flag made;
        std::shared_ptr<const ImageConversion> conversion;
    };

    mutable std::mutex mutex_;
    std::map<ImageKey, std::shared_ptr<Entry>> entries_;
};

}  // namespace zelvane
