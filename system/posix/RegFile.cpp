#include "system/posix/RegFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
#include <vector>

#include "device/TextRules.h"
#include "system/MemoryRegistry.h"
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

// Names match as Windows matches them here: ASCII letters without regard to case.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(Lower(a[i]));
        const auto cb = static_cast<unsigned char>(Lower(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
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

// Appends `path` to `out` with its empty parts (doubled or trailing backslashes) dropped, and
// returns the length it added; with a null `out` only the length.
std::size_t AppendNormalPath(std::string* out, std::string_view path) {
    std::size_t added = 0;
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        if (end > 0) {
            if (out) {
                out->append(added > 0 ? "\\" : "").append(path.substr(0, end));
            }
            added += (added > 0 ? 1 : 0) + end;
        }
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return added;
}

std::string NormalPath(std::string_view path) {
    std::string normal;
    normal.reserve(AppendNormalPath(nullptr, path));
    AppendNormalPath(&normal, path);
    return normal;
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
std::optional<std::string_view> LocalMachinePath(std::string_view keyName) {
    const auto slash = keyName.find('\\');
    const std::string_view root = keyName.substr(0, slash);
    if (!EqualsIgnoringCase(root, "HKEY_LOCAL_MACHINE") && !EqualsIgnoringCase(root, "HKLM")) {
        return std::nullopt;
    }
    return slash == std::string_view::npos ? std::string_view() : keyName.substr(slash + 1);
}

bool IsOtherTypeData(std::string_view data) {
    return StartsWithIgnoringCase(data, "dword:") || StartsWithIgnoringCase(data, "hex:") ||
           (StartsWithIgnoringCase(data, "hex(") && data.find("):") != std::string_view::npos);
}

// Walks the export line by line, one key line or value (with its continuation lines) at a time.
// Lines end at LF, each without its CR. Nothing is copied but the names and data of values.
class Reader {
public:
    enum class Item { End, Key, Value, Failed };

    Reader(std::string_view text, std::size_t position) : text_(text), position_(position) {}

    // The line the item last read started on, counted from 1 at the reader's start.
    std::size_t LineNumber() const { return lineNumber_; }
    std::size_t Position() const { return position_; }
    // After a key: the name between the brackets.
    std::string_view KeyName() const { return keyName_; }
    // After a value: its name ("" for "@") and its text, nullopt for another type or a deletion.
    const std::string& ValueName() const { return valueName_; }
    const std::optional<std::string>& ValueText() const { return valueText_; }
    const std::string& Reason() const { return reason_; }

    // The next line that is not blank, trimmed; false at the end.
    bool NextLine(std::string_view& line) {
        while (position_ < text_.size()) {
            const std::size_t end = std::min(text_.find('\n', position_), text_.size());
            line = text_.substr(position_, end - position_);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            position_ = std::min(end + 1, text_.size());
            ++lineNumber_;
            line = Trim(line);
            if (!line.empty()) {
                return true;
            }
        }
        return false;
    }

    // `inKey`: whether a key line came before, without which a value is an error.
    Item Next(bool inKey) {
        std::string_view line;
        while (NextLine(line)) {
            if (line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                return ReadKey(line);
            }
            if (line.front() == '"' || line.front() == '@') {
                return ReadValue(line, inKey);
            }
            return Fail("not a key, a value or a comment");
        }
        return Item::End;
    }

private:
    Item Fail(std::string reason) {
        reason_ = std::move(reason);
        return Item::Failed;
    }

    Item ReadKey(std::string_view line) {
        const auto close = line.rfind(']');
        if (close == std::string_view::npos) {
            return Fail("a key name without its closing ']'");
        }
        keyName_ = line.substr(1, close - 1);
        return Item::Key;
    }

    Item ReadValue(std::string_view line, bool inKey) {
        std::size_t pos = 0;
        valueText_.reset();
        if (line.front() == '@') {
            valueName_.clear();
            pos = 1;
        } else if (!ReadQuoted(line, pos, valueName_)) {
            return Fail("a value name without its closing quote");
        }
        const std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            return Fail("a value name not followed by '='");
        }
        if (!inKey) {
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
            valueText_ = std::move(text);
            return Item::Value;
        }
        if (data == "-") {
            return Item::Value;  // a deletion
        }
        if (IsOtherTypeData(data)) {
            // Only strings are held; the value's continuation lines go with it.
            for (std::string_view last = data; last.back() == '\\' && position_ < text_.size();) {
                const std::size_t end = std::min(text_.find('\n', position_), text_.size());
                last = text_.substr(position_, end - position_);
                if (!last.empty() && last.back() == '\r') {
                    last.remove_suffix(1);
                }
                position_ = std::min(end + 1, text_.size());
                ++lineNumber_;
                last = Trim(last);
                if (last.empty()) {
                    break;
                }
            }
            return Item::Value;
        }
        return Fail("a value of unknown type");
    }

    std::string_view text_;
    std::size_t position_;
    std::size_t lineNumber_ = 0;
    std::string_view keyName_;
    std::string valueName_;
    std::optional<std::string> valueText_;
    std::string reason_;
};

// The export's text and, sorted by path, where each key line under HKEY_LOCAL_MACHINE stands:
// a key is found by binary search and its values are read from the text when asked for. Held
// this way, no file, however deep or wide its keys, costs more than a few times its size.
class RegFileRegistry final : public Registry {
public:
    struct KeyLine {
        std::uint32_t pathStart;  // in paths_: the key's path, normalised, as first written
        std::uint32_t pathLength;
        std::uint32_t body;  // in text_: just after the key line
    };

    RegFileRegistry(std::string text, std::size_t start) : text_(std::move(text)), start_(start) {}

    // Checks the whole export and indexes its keys; false with `error` filled when it is not
    // a registry export.
    bool Index(RegFileError& error);

    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override {
        return Open(path);
    }

    // The key at `path` below HKEY_LOCAL_MACHINE; nullptr when no key line reaches it.
    std::unique_ptr<RegistryKey> Open(std::string_view path) const;

    std::string_view Path(const KeyLine& line) const {
        return std::string_view(paths_).substr(line.pathStart, line.pathLength);
    }
    // The key lines of `path` itself, in file order.
    std::pair<const KeyLine*, const KeyLine*> LinesOf(std::string_view path) const {
        const auto range = std::equal_range(lines_.begin(), lines_.end(), path, Ordered{this});
        return {lines_.data() + (range.first - lines_.begin()),
                lines_.data() + (range.second - lines_.begin())};
    }
    // The key lines below `path` (all of them for the root), in path order.
    std::pair<const KeyLine*, const KeyLine*> LinesBelow(std::string_view path) const;

    std::string_view Text() const { return text_; }

private:
    // Orders key lines by path without regard to case; lookups by a path compare alike.
    struct Ordered {
        const RegFileRegistry* registry;
        bool operator()(const KeyLine& a, std::string_view b) const {
            return CompareIgnoringCase(registry->Path(a), b) < 0;
        }
        bool operator()(std::string_view a, const KeyLine& b) const {
            return CompareIgnoringCase(a, registry->Path(b)) < 0;
        }
    };

    std::string text_;
    std::size_t start_;  // past a byte-order mark
    std::string paths_;
    std::vector<KeyLine> lines_;
};

class RegFileKey final : public RegistryKey {
public:
    RegFileKey(const RegFileRegistry& registry, std::string path)
        : registry_(registry), path_(std::move(path)) {}

    std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path) override {
        return registry_.Open(path_ + "\\" + path);
    }

    std::optional<std::string> QueryString(const std::string& name,
                                           std::size_t bufferBytes) override {
        // A key written several times holds the values of all its lines; the last one wins.
        std::optional<std::string> found;
        const auto [first, last] = registry_.LinesOf(path_);
        for (const RegFileRegistry::KeyLine* line = first; line != last; ++line) {
            Reader reader(registry_.Text(), line->body);
            for (Reader::Item item; (item = reader.Next(true)) == Reader::Item::Value;) {
                if (reader.ValueText() && CompareIgnoringCase(reader.ValueName(), name) == 0) {
                    found = reader.ValueText();
                }
            }
        }
        if (!found || found->size() + 1 > bufferBytes) {
            return std::nullopt;
        }
        return found;
    }

    std::optional<std::string> EnumSubKey(std::size_t index, std::size_t bufferChars) override {
        if (!children_) {
            children_ = Children();
        }
        if (index >= children_->size()) {
            return std::nullopt;
        }
        const std::string& name = (*children_)[index].name;
        if (name.size() + 1 > bufferChars) {
            return std::nullopt;
        }
        return name;
    }

private:
    struct Child {
        std::string name;     // as first written
        std::uint32_t first;  // where it was first written
    };

    // The subkeys in name order, each named as the first key line that reaches it writes it.
    std::vector<Child> Children() const {
        std::vector<Child> children;
        const std::size_t skip = path_.empty() ? 0 : path_.size() + 1;
        const auto [first, last] = registry_.LinesBelow(path_);
        for (const RegFileRegistry::KeyLine* line = first; line != last; ++line) {
            std::string_view child = registry_.Path(*line).substr(skip);
            child = child.substr(0, child.find('\\'));
            children.push_back({std::string(child), line->body});
        }
        std::sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
            const int order = CompareIgnoringCase(a.name, b.name);
            return order != 0 ? order < 0 : a.first < b.first;
        });
        children.erase(std::unique(children.begin(), children.end(),
                                   [](const Child& a, const Child& b) {
                                       return CompareIgnoringCase(a.name, b.name) == 0;
                                   }),
                       children.end());
        return children;
    }

    const RegFileRegistry& registry_;
    std::string path_;
    std::optional<std::vector<Child>> children_;
};

bool RegFileRegistry::Index(RegFileError& error) {
    const std::string_view text = std::string_view(text_).substr(start_);
    if (text_.size() > UINT32_MAX) {
        error = {1, "more text than a registry export holds"};
        return false;
    }
    Reader reader(text, 0);
    std::string_view header;
    const bool any = reader.NextLine(header);
    if (!any || (header != kHeader5 && header != kHeader4)) {
        error = {any ? reader.LineNumber() : 1, "the first line is neither \"" +
                                                    std::string(kHeader5) + "\" nor \"" +
                                                    std::string(kHeader4) + "\""};
        return false;
    }
    // Room for every key line's path and position at once: containers that double their way up
    // could end with room for twice what they hold.
    std::size_t keyLines = 0;
    std::size_t pathBytes = 0;
    for (Reader counter(text, 0); counter.NextLine(header);) {
        if (header.front() == '[') {
            ++keyLines;
            const std::string_view name = header.substr(1, header.rfind(']') - 1);
            if (const std::optional<std::string_view> path = LocalMachinePath(name)) {
                pathBytes += AppendNormalPath(nullptr, *path);
            }
        }
    }
    lines_.reserve(keyLines);
    paths_.reserve(pathBytes);
    bool inKey = false;
    for (;;) {
        const Reader::Item item = reader.Next(inKey);
        if (item == Reader::Item::End) {
            break;
        }
        if (item == Reader::Item::Failed) {
            error = {reader.LineNumber(), reader.Reason()};
            return false;
        }
        if (item != Reader::Item::Key) {
            continue;
        }
        inKey = true;
        const std::string_view name = reader.KeyName();
        if (!name.empty() && name.front() == '-') {
            continue;  // a deletion: nothing to hold
        }
        if (const std::optional<std::string_view> path = LocalMachinePath(name)) {
            const auto pathStart = static_cast<std::uint32_t>(paths_.size());
            const std::size_t length = AppendNormalPath(&paths_, *path);
            lines_.push_back({pathStart, static_cast<std::uint32_t>(length),
                              static_cast<std::uint32_t>(start_ + reader.Position())});
        }
    }
    std::sort(lines_.begin(), lines_.end(), [this](const KeyLine& a, const KeyLine& b) {
        const int order = CompareIgnoringCase(Path(a), Path(b));
        return order != 0 ? order < 0 : a.body < b.body;
    });
    return true;
}

std::pair<const RegFileRegistry::KeyLine*, const RegFileRegistry::KeyLine*>
RegFileRegistry::LinesBelow(std::string_view path) const {
    const KeyLine* end = lines_.data() + lines_.size();
    if (path.empty()) {
        // Every key but the root itself, whose lines sort first.
        const KeyLine* first = lines_.data();
        while (first != end && first->pathLength == 0) {
            ++first;
        }
        return {first, end};
    }
    const std::string below = std::string(path) + "\\";
    const auto first =
        std::lower_bound(lines_.begin(), lines_.end(), std::string_view(below), Ordered{this});
    auto last = first;
    while (last != lines_.end() && Path(*last).size() >= below.size() &&
           CompareIgnoringCase(Path(*last).substr(0, below.size()), below) == 0) {
        ++last;
    }
    return {lines_.data() + (first - lines_.begin()), lines_.data() + (last - lines_.begin())};
}

std::unique_ptr<RegistryKey> RegFileRegistry::Open(std::string_view path) const {
    std::string normal = NormalPath(path);
    // The root always opens; a key opens when a key line names it or a key below it.
    if (!normal.empty()) {
        const auto own = LinesOf(normal);
        const auto below = LinesBelow(normal);
        if (own.first == own.second && below.first == below.second) {
            return nullptr;
        }
    }
    return std::make_unique<RegFileKey>(*this, std::move(normal));
}

}  // namespace

std::unique_ptr<Registry> ParseRegFile(std::string bytes, RegFileError& error) {
    std::unique_ptr<RegFileRegistry> registry;
    if (StartsWith(bytes, "\xFF\xFE")) {
        if (bytes.size() % 2 != 0) {
            error = {1, "UTF-16 text of an odd number of bytes"};
            return nullptr;
        }
        std::string text = Utf16LeToLatin1(std::string_view(bytes).substr(2));
        std::string().swap(bytes);
        registry = std::make_unique<RegFileRegistry>(std::move(text), 0);
    } else {
        // A byte-order mark some editors put before 8-bit text is passed over.
        const std::size_t start = StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0;
        registry = std::make_unique<RegFileRegistry>(std::move(bytes), start);
    }
    if (!registry->Index(error)) {
        return nullptr;
    }
    return registry;
}

std::unique_ptr<Registry> LoadRegFile(const std::string& path, std::string& error) {
    const std::string named = "The registry file \"" + path + "\" named by " + kRegistryVariable;
    try {
        FileContents contents = PosixFileSystem().ReadFile(path, kMaxRegistryFileBytes);
        switch (contents.error) {
            case ReadError::None:
                break;
            case ReadError::NotRegularFile:
                error = named + " is not a regular file.";
                return nullptr;
            case ReadError::TooLarge:
                error = named + " is larger than " + std::to_string(kMaxRegistryFileBytes >> 20) +
                        " MiB.";
                return nullptr;
            default:
                error = named + " cannot be read.";
                return nullptr;
        }
        RegFileError parseError;
        std::unique_ptr<Registry> registry = ParseRegFile(std::move(contents.bytes), parseError);
        if (!registry) {
            error = named + " is not a registry export (line " + std::to_string(parseError.line) +
                    ": " + parseError.reason + ").";
        }
        return registry;
    } catch (const std::bad_alloc&) {
        error = named + " does not fit into the memory available.";
        return nullptr;
    }
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
