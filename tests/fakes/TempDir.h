#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessaly::testing {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` unchanged to `name` below the directory (creating folders) and returns its
    // path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// The names in `folder`, sorted; hidden temporaries included, so a leftover one shows.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace tessaly::testing
