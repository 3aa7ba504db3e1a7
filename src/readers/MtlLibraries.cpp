#include "MtlLibraries.h"

#include "MemoryStream.h"
#include "os/FolderLookup.h"
#include "os/WholeFile.h"

namespace zelvane {
namespace {

// No material library comes near this; a larger file is not read.
constexpr uint64_t kLargestLibrary = uint64_t{64} << 20;

}  // namespace

bool MtlLibraries::operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                              std::map<std::string, int>* materialNumbers, std::string* warning,
                              std::string* error) {
    const FolderLookup lookup = lookUpInFolder(folder_, name);
    std::string reason = lookup.result == LookupResult::kRefused ? lookup.reason : "not found";
    std::vector<uint8_t> bytes;
    if (lookup.result == LookupResult::kFound) {
        reason = readWholeFile(lookup.path, kLargestLibrary, bytes);
    }
    if (!reason.empty()) {
        warnings_.push_back("material library " + name + ": " + reason + " (looked in " +
                            (folder_.empty() ? "." : folder_) + ")");
        return false;
    }
    filesRead_.push_back(lookup.path);
    MemoryStream text({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    tinyobj::LoadMtl(materialNumbers, materials, &text, warning, error);
    return true;
}

}  // namespace zelvane
