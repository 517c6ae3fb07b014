#pragma once

#include <cstddef>
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

// Why a whole-file read gave nothing.
enum class ReadError {
    None,
    CannotOpen,
    NotRegularFile,  // a folder, a pipe, a device
    TooLarge,        // more bytes than the caller's limit
    ReadFailed,
};

struct FileContents {
    ReadError error = ReadError::None;
    std::string bytes;  // the whole file when error is None, else empty

    bool ok() const { return error == ReadError::None; }
};

// The file operations the core needs, shaped after the Win32 calls it was written against.
// Every file the program writes is replaced, never written in place: a reader sees the old file
// or the new one, never a part or a mix.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The separator the core puts between the parts of a path it composes.
    virtual char Separator() const = 0;

    // Text (Latin-1 bytes, as fields and files hold it) in the file system's encoding, for the
    // part of a path it becomes: UTF-8 on POSIX, unchanged on Windows, whose ANSI code page the
    // text already is. The one place where text becomes a name on the disk.
    virtual std::string PathFromText(std::string_view text) const = 0;

    // Replaces `path` by a file holding exactly `bytes`: they go to a temporary file in the same
    // folder, reach the disk, and the temporary is renamed over `path` (a link there is replaced,
    // not followed). False when any step fails; `path` is then as it was and no temporary
    // remains.
    virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;

    // True when WriteFile could replace `path`: its folder exists and takes new files. Changes
    // nothing that stays.
    virtual bool CanWriteFile(const std::string& path) = 0;

    // The regular file at `path`, whole, when it holds at most `maxBytes` bytes. Never waits for
    // a writer and never reads more than `maxBytes` + 1 bytes, even from a file that grows.
    virtual FileContents ReadFile(const std::string& path, std::size_t maxBytes) = 0;

    // True when `path` can be opened for reading.
    virtual bool CanOpenForReading(const std::string& path) = 0;

    virtual FileAttributes QueryAttributes(const std::string& path) = 0;

    // Creates one directory level; a folder of that name that is already there (another process
    // may have made it meanwhile) is success. Fails when the parent is missing or a file holds
    // the name.
    virtual bool MakeDirectory(const std::string& path) = 0;

    // Replaces `to` by a copy of `from`, the way WriteFile replaces a file.
    virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;

    virtual bool RemoveFile(const std::string& path) = 0;

    // Removes the temporaries that writes of `path` left in its folder when the program was
    // killed in the middle: those no write has in use and that have not changed for a minute.
    // Returns how many.
    virtual int RemoveStaleTemporaries(const std::string& path) = 0;
};

}  // namespace tessaly
