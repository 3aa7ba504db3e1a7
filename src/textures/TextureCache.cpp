#include "TextureCache.h"

namespace zelvane {

std::shared_ptr<const ImageConversion> TextureCache::conversion(const ImageKey& key, const Convert& convert) {
    std::shared_ptr<Entry> entry;
    {
        std::lock_guard lock(mutex_);
        std::shared_ptr<Entry>& slot = entries_[key];
        if (!slot) {
            slot = std::make_shared<Entry>();
        }
        entry = slot;
    }
    std::call_once(entry->made, [&] { entry->conversion = std::make_shared<const ImageConversion>(convert()); });
    return entry->conversion;
}

size_t TextureCache::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace zelvane
