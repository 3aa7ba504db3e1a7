#pragma once

#include <string>

namespace zelvane::test {

// $TMPDIR, or /tmp when it is not set.
std::string systemTemporaryFolder();
// A folder in memory (/dev/shm) where the system has one, else the above: for
// tests that create and remove files by the thousand.
std::string memoryTemporaryFolder();

// A fresh folder under the system's temporary folder, removed with all it holds.
class TempFolder {
public:
    TempFolder();
    // A folder under base instead.
    explicit TempFolder(const std::string& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace zelvane::test
