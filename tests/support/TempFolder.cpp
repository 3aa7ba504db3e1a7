#include "TempFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace zelvane::test {

std::string systemTemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    return base != nullptr ? base : "/tmp";
}

std::string memoryTemporaryFolder() {
    constexpr const char* kSharedMemory = "/dev/shm";
    return access(kSharedMemory, W_OK | X_OK) == 0 ? kSharedMemory : systemTemporaryFolder();
}

TempFolder::TempFolder() : TempFolder(systemTemporaryFolder()) {}

TempFolder::TempFolder(const std::string& base) {
    std::string pattern = base + "/zelvane-test-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = name.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests may take write permission away; give it back so all can go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace zelvane::test
