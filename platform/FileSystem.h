#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Why an attribute query failed, in the classes Windows reports.
enum class FileError {
    None,
    FileNotFound,  // the last component is missing
    PathNotFound,  // a folder on the way is missing
    Other,
};

struct FileAttributes {
    FileError error = FileError::None;  // None when the query succeeded
    bool isDirectory = false;

    bool ok() const { return error == FileError::None; }
};

// The file operations the core needs, shaped after the Win32 calls it was written against.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The separator the core puts between the parts of a path it composes.
    virtual char Separator() const = 0;

    // Creates or empties `path` and writes `bytes` unchanged; false when the file cannot be
    // opened for writing. Errors after opening are not reported.
    virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;

    // True when `path` can be opened for reading.
    virtual bool CanOpenForReading(const std::string& path) = 0;

    virtual FileAttributes QueryAttributes(const std::string& path) = 0;

    // Creates one directory level; fails when the parent is missing or the name exists.
    virtual bool MakeDirectory(const std::string& path) = 0;

    // Copies `from` to `to`, replacing an existing file.
    virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;

    virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace tessaly
