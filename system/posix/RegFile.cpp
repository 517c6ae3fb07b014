#include "system/posix/RegFile.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "device/TextRules.h"
#include "system/posix/PosixPlatform.h"

namespace tessaly {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualsIgnoringCase(text.substr(0, start.size()), start);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// UTF-16LE code units to Latin-1; whatever Latin-1 cannot hold, a surrogate pair included,
// becomes one '?'.
std::string Utf16LeToLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[2 * i])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    const std::size_t count = bytes.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            ++i;
            out += '?';
        } else if (u <= 0xFF) {
            out += static_cast<char>(u);
        } else {
            out += '?';
        }
    }
    return out;
}

// Lines split at LF, each without its CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Reads a quoted string starting at text[pos] == '"', undoing the \\ and \" escapes; any other
// backslash stays as written. Leaves `pos` after the closing quote; false when there is none.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
            ++pos;
        }
        out += text[pos];
    }
    return false;
}

// The path below HKEY_LOCAL_MACHINE of a key line's name; nullopt for the other roots.
std::optional<std::string> LocalMachinePath(std::string_view keyName) {
    const auto slash = keyName.find('\\');
    const std::string_view root = keyName.substr(0, slash);
    if (!EqualsIgnoringCase(root, "HKEY_LOCAL_MACHINE") && !EqualsIgnoringCase(root, "HKLM")) {
        return std::nullopt;
    }
    return slash == std::string_view::npos ? std::string() : std::string(keyName.substr(slash + 1));
}

bool IsOtherTypeData(std::string_view data) {
    return StartsWithIgnoringCase(data, "dword:") || StartsWithIgnoringCase(data, "hex:") ||
           (StartsWithIgnoringCase(data, "hex(") && data.find("):") != std::string_view::npos);
}

class Parser {
public:
    Parser(std::string_view text, MemoryRegistry& registry, RegFileError& error)
        : lines_(SplitLines(text)), registry_(registry), error_(error) {}

    bool Run() {
        while (index_ < lines_.size() && Trim(lines_[index_]).empty()) {
            ++index_;
        }
        if (index_ == lines_.size()) {
            index_ = 0;
        }
        if (index_ == lines_.size() ||
            (Trim(lines_[index_]) != kHeader5 && Trim(lines_[index_]) != kHeader4)) {
            return Fail("the first line is neither \"" + std::string(kHeader5) + "\" nor \"" +
                        std::string(kHeader4) + "\"");
        }
        for (++index_; index_ < lines_.size(); ++index_) {
            const std::string_view line = Trim(lines_[index_]);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            bool ok = false;
            if (line.front() == '[') {
                ok = ReadKey(line);
            } else if (line.front() == '"' || line.front() == '@') {
                ok = ReadValue(line);
            } else {
                ok = Fail("not a key, a value or a comment");
            }
            if (!ok) {
                return false;
            }
        }
        return true;
    }

private:
    bool Fail(std::string reason) {
        error_.line = index_ + 1;
        error_.reason = std::move(reason);
        return false;
    }

    bool ReadKey(std::string_view line) {
        const auto close = line.rfind(']');
        if (close == std::string_view::npos) {
            return Fail("a key name without its closing ']'");
        }
        const std::string_view name = line.substr(1, close - 1);
        inKey_ = true;
        key_.reset();
        if (!name.empty() && name.front() == '-') {
            return true;  // a deletion: nothing to hold
        }
        key_ = LocalMachinePath(name);
        if (key_) {
            registry_.CreateKey(*key_);
        }
        return true;
    }

    bool ReadValue(std::string_view line) {
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name)) {
            return Fail("a value name without its closing quote");
        }
        const std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            return Fail("a value name not followed by '='");
        }
        if (!inKey_) {
            return Fail("a value before the first key");
        }
        const std::string_view data = Trim(rest.substr(1));
        if (!data.empty() && data.front() == '"') {
            std::size_t end = 0;
            std::string text;
            if (!ReadQuoted(data, end, text)) {
                return Fail("a string value without its closing quote");
            }
            if (!Trim(data.substr(end)).empty()) {
                return Fail("text after a string value");
            }
            if (key_) {
                registry_.SetString(*key_, name, text);
            }
            return true;
        }
        if (data == "-") {
            return true;  // a deletion
        }
        if (IsOtherTypeData(data)) {
            // Only strings are held; the value's continuation lines go with it.
            while (!Trim(lines_[index_]).empty() && Trim(lines_[index_]).back() == '\\' &&
                   index_ + 1 < lines_.size()) {
                ++index_;
            }
            return true;
        }
        return Fail("a value of unknown type");
    }

    std::vector<std::string_view> lines_;
    MemoryRegistry& registry_;
    RegFileError& error_;
    std::size_t index_ = 0;
    bool inKey_ = false;
    std::optional<std::string> key_;  // below HKEY_LOCAL_MACHINE; nullopt: values are dropped
};

}  // namespace

bool ParseRegFile(std::string_view bytes, MemoryRegistry& registry, RegFileError& error) {
    std::string text;
    if (StartsWith(bytes, "\xFF\xFE")) {
        if (bytes.size() % 2 != 0) {
            error = {1, "UTF-16 text of an odd number of bytes"};
            return false;
        }
        text = Utf16LeToLatin1(bytes.substr(2));
    } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        text = bytes.substr(3);  // a byte-order mark some editors put before 8-bit text
    } else {
        text = bytes;
    }
    return Parser(text, registry, error).Run();
}

std::unique_ptr<MemoryRegistry> LoadRegFile(const std::string& path, std::string& error) {
    const std::string named = "The registry file \"" + path + "\" named by " + kRegistryVariable;
    const FileContents contents = PosixFileSystem().ReadFile(path, kMaxRegistryFileBytes);
    switch (contents.error) {
        case ReadError::None:
            break;
        case ReadError::NotRegularFile:
            error = named + " is not a regular file.";
            return nullptr;
        case ReadError::TooLarge:
            error =
                named + " is larger than " + std::to_string(kMaxRegistryFileBytes >> 20) + " MiB.";
            return nullptr;
        default:
            error = named + " cannot be read.";
            return nullptr;
    }
    auto registry = std::make_unique<MemoryRegistry>();
    RegFileError parseError;
    if (!ParseRegFile(contents.bytes, *registry, parseError)) {
        error = named + " is not a registry export (line " + std::to_string(parseError.line) +
                ": " + parseError.reason + ").";
        return nullptr;
    }
    return registry;
}

ConfiguredRegistry LoadRegistryFromEnvironment() {
    const char* path = std::getenv(kRegistryVariable);
    if (!path || !*path) {
        return {std::make_unique<MemoryRegistry>(), false, {}};
    }
    ConfiguredRegistry loaded{nullptr, true, {}};
    loaded.registry = LoadRegFile(path, loaded.error);
    if (!loaded.registry) {
        loaded.registry = std::make_unique<MemoryRegistry>();
    }
    return loaded;
}

}  // namespace tessaly
