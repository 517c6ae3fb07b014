#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "device/TextRules.h"
#include "platform/FileSystem.h"

namespace tessaly::testing {

// An in-memory file system that behaves like Windows: "\" separators by default, one-level
// directory creation, and the file-not-found / path-not-found distinction. Roots such as "c:"
// exist from the start. Names match exactly. Writes replace whole files, as the real ones do.
class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(char separator = '\\');

    void AddDirectory(const std::string& path);  // with every missing parent
    void AddFile(const std::string& path, const std::string& bytes);
    void LockFile(const std::string& path);  // cannot be replaced

    bool HasDirectory(const std::string& path) const;
    bool HasFile(const std::string& path) const;
    const std::string& Contents(const std::string& path) const;
    std::vector<std::string> FileNames() const;  // normalised paths, sorted
    const std::vector<std::string>& WriteLog() const { return writeLog_; }  // paths opened

    char Separator() const override { return separator_; }
    // A "/" machine names its files in UTF-8, as Linux does; a "\" one in the ANSI code page.
    std::string PathFromText(std::string_view text) const override {
        return separator_ == '/' ? Latin1ToUtf8(text) : std::string(text);
    }
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    bool CanWriteFile(const std::string& path) override;
    FileContents ReadFile(const std::string& path, std::size_t maxBytes) override;
    bool CanOpenForReading(const std::string& path) override;
    FileAttributes QueryAttributes(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool CopyReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    // Writes here are whole at once and leave no temporary; counts the calls.
    int RemoveStaleTemporaries(const std::string& path) override {
        staleChecks_.push_back(path);
        return 0;
    }
    const std::vector<std::string>& StaleChecks() const { return staleChecks_; }

private:
    std::string Normalize(const std::string& path) const;
    std::string Parent(const std::string& normalized) const;
    bool CanReplace(const std::string& normalized) const;

    char separator_;
    std::set<std::string> directories_;
    std::map<std::string, std::string> files_;
    std::set<std::string> locked_;
    std::vector<std::string> writeLog_;
    std::vector<std::string> staleChecks_;
};

}  // namespace tessaly::testing
