#include "tests/fakes/FakeFileSystem.h"

#include <stdexcept>

namespace tessaly::testing {

FakeFileSystem::FakeFileSystem(char separator) : separator_(separator) {
    directories_.insert(separator == '\\' ? "c:" : "");
    directories_.insert("d:");
}

// Collapses repeated separators and drops a trailing one, as Windows resolves "c:\\a\".
std::string FakeFileSystem::Normalize(const std::string& path) const {
    std::string out;
    for (char c : path) {
        if (c == separator_ && !out.empty() && out.back() == separator_) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == separator_) {
        out.pop_back();
    }
    return out;
}

std::string FakeFileSystem::Parent(const std::string& normalized) const {
    const auto pos = normalized.rfind(separator_);
    return pos == std::string::npos ? std::string() : normalized.substr(0, pos);
}

void FakeFileSystem::AddDirectory(const std::string& path) {
    const std::string n = Normalize(path);
    if (n.empty() || directories_.count(n)) {
        return;
    }
    AddDirectory(Parent(n));
    directories_.insert(n);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& bytes) {
    const std::string n = Normalize(path);
    AddDirectory(Parent(n));
    files_[n] = bytes;
}

void FakeFileSystem::LockFile(const std::string& path) {
    locked_.insert(Normalize(path));
}

bool FakeFileSystem::HasDirectory(const std::string& path) const {
    return directories_.count(Normalize(path)) != 0;
}

bool FakeFileSystem::HasFile(const std::string& path) const {
    return files_.count(Normalize(path)) != 0;
}

const std::string& FakeFileSystem::Contents(const std::string& path) const {
    auto it = files_.find(Normalize(path));
    if (it == files_.end()) {
        throw std::out_of_range("no such file: " + path);
    }
    return it->second;
}

std::vector<std::string> FakeFileSystem::FileNames() const {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files_) {
        names.push_back(name);
    }
    return names;
}

bool FakeFileSystem::CanReplace(const std::string& normalized) const {
    return !locked_.count(normalized) && !directories_.count(normalized) &&
           directories_.count(Parent(normalized));
}

bool FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    const std::string n = Normalize(path);
    writeLog_.push_back(path);
    if (!CanReplace(n)) {
        return false;
    }
    files_[n] = std::string(bytes);
    return true;
}

bool FakeFileSystem::CanWriteFile(const std::string& path) {
    return CanReplace(Normalize(path));
}

FileContents FakeFileSystem::ReadFile(const std::string& path, std::size_t maxBytes) {
    const auto it = files_.find(Normalize(path));
    if (it == files_.end()) {
        return {
            directories_.count(Normalize(path)) ? ReadError::NotRegularFile : ReadError::CannotOpen,
            {}};
    }
    if (it->second.size() > maxBytes) {
        return {ReadError::TooLarge, {}};
    }
    return {ReadError::None, it->second};
}

bool FakeFileSystem::CanOpenForReading(const std::string& path) {
    return files_.count(Normalize(path)) != 0;
}

FileAttributes FakeFileSystem::QueryAttributes(const std::string& path) {
    const std::string n = Normalize(path);
    if (directories_.count(n)) {
        return {FileError::None, true};
    }
    if (files_.count(n)) {
        return {FileError::None, false};
    }
    return {directories_.count(Parent(n)) ? FileError::FileNotFound : FileError::PathNotFound,
            false};
}

bool FakeFileSystem::MakeDirectory(const std::string& path) {
    const std::string n = Normalize(path);
    if (directories_.count(n)) {
        return true;
    }
    if (files_.count(n) || !directories_.count(Parent(n))) {
        return false;
    }
    directories_.insert(n);
    return true;
}

bool FakeFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
    const std::string src = Normalize(from);
    const std::string dst = Normalize(to);
    auto it = files_.find(src);
    if (it == files_.end() || !CanReplace(dst)) {
        return false;
    }
    files_[dst] = it->second;
    return true;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
    return files_.erase(Normalize(path)) != 0;
}

}  // namespace tessaly::testing
