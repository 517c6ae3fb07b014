#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tessaly::testing {

// A directory of its own for the running test under the system's temporary folder, removed
// with everything in it when the test ends.
class TempDirectory {
public:
    TempDirectory() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "tessaly-";
        if (test != nullptr) {
            name += std::string(test->test_suite_name()) + "-" + test->name() + "-";
        }
        name += std::to_string(std::random_device{}());
        for (char& c : name) {
            if (c == '/') {
                c = '_';  // parameterised tests carry a slash in their names
            }
        }
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(path_);
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Writes the bytes exactly as given and returns the file's path.
    std::string Write(const std::string& fileName, std::string_view bytes) const {
        const std::filesystem::path file = path_ / fileName;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        EXPECT_TRUE(out.good()) << "cannot write " << file;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

}  // namespace tessaly::testing
