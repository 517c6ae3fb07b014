#include "modulefile/IniFile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <random>

#include "device/TextRules.h"

namespace tessaly {
namespace {

unsigned char Upper(char c) {
    return static_cast<unsigned char>(ToUpperAscii(c));
}

std::string_view TrimLeading(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsCSpace(text[start])) {
        ++start;
    }
    return text.substr(start);
}

std::string_view TrimTrailing(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsCSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view Trim(std::string_view text) {
    return TrimTrailing(TrimLeading(text));
}

class FileSource final : public IniByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    ~FileSource() override { std::fclose(file_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t Read(char* buffer, std::size_t capacity, bool& failed) override {
        const std::size_t count = std::fread(buffer, 1, capacity, file_);
        failed = std::ferror(file_) != 0;
        return count;
    }

private:
    std::FILE* file_;
};

class MemorySource final : public IniByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Read(char* buffer, std::size_t capacity, bool& failed) override {
        failed = false;
        const std::size_t count = std::min(capacity, bytes_.size());
        std::copy_n(bytes_.data(), count, buffer);
        bytes_.remove_prefix(count);
        return count;
    }

private:
    std::string_view bytes_;
};

// Splits the bytes into physical lines: CR, LF and NUL end a line; a CR LF or LF CR pair is
// one line end, while CR CR or LF LF leave an empty line between them.
class LineReader {
public:
    enum class Status { Line, End, Failed };

    explicit LineReader(IniByteSource& source) : source_(source) {}

    Status Next(std::string& line) {
        line.clear();
        int c = Get();
        if (c < 0) {
            return c == kFailed ? Status::Failed : Status::End;
        }
        if ((c == '\r' || c == '\n') && previousEnd_ != kNoLineYet && c != previousEnd_) {
            c = Get();  // second half of a CR LF or LF CR pair
            if (c < 0) {
                return c == kFailed ? Status::Failed : Status::End;
            }
        }
        for (;;) {
            if (c == '\r' || c == '\n' || c == '\0') {
                previousEnd_ = c;
                ++lineNumber_;
                return Status::Line;
            }
            if (c == kEnd) {
                ++lineNumber_;  // the last line needs no line end
                return Status::Line;
            }
            if (c == kFailed) {
                return Status::Failed;
            }
            if (line.size() < kIniMaxLineLength) {
                line.push_back(static_cast<char>(c));
            }
            c = Get();
        }
    }

    int LineNumber() const { return lineNumber_; }

private:
    static constexpr int kEnd = -1;
    static constexpr int kFailed = -2;
    static constexpr int kNoLineYet = -1;

    int Get() {
        if (position_ == count_) {
            bool failed = false;
            count_ = source_.Read(buffer_.data(), buffer_.size(), failed);
            position_ = 0;
            if (failed) {
                count_ = 0;
                return kFailed;
            }
            if (count_ == 0) {
                return kEnd;
            }
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }

    IniByteSource& source_;
    std::array<char, kIniReadBufferSize> buffer_{};
    std::size_t position_ = 0;
    std::size_t count_ = 0;
    int lineNumber_ = 0;
    int previousEnd_ = kNoLineYet;
};

// Adds what one line holds to the document; malformed lines are dropped without a word.
void ParseLine(IniFile& document, std::string_view line, int lineNumber, bool& inSection) {
    line = TrimLeading(line);
    if (line.empty() || line.front() == ';') {
        return;
    }
    if (line.front() == '[') {
        const std::string_view rest = TrimLeading(line.substr(1));
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) {
            return;
        }
        const std::string_view name = TrimTrailing(rest.substr(0, close));
        if (name.empty()) {
            return;
        }
        document.sections.push_back(IniSection{std::string(name), {}, document.sorted, lineNumber});
        inSection = true;
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !inSection) {
        return;
    }
    const std::string_view key = TrimTrailing(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key.empty() || value.empty()) {
        return;
    }
    document.sections.back().entries.push_back(
        IniEntry{std::string(key), std::string(value), lineNumber});
}

void SortDocument(IniFile& document) {
    for (IniSection& section : document.sections) {
        std::stable_sort(
            section.entries.begin(), section.entries.end(),
            [](const IniEntry& a, const IniEntry& b) { return IniCompareNames(a.key, b.key) < 0; });
    }
    std::stable_sort(document.sections.begin(), document.sections.end(),
                     [](const IniSection& a, const IniSection& b) {
                         return IniCompareNames(a.name, b.name) < 0;
                     });
}

// IniCompareNames(a, b) == 0, sooner: names of other lengths differ, and most equal ones are
// equal byte for byte.
bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

// SipHash-1-3 of a name as the comparison sees it (ends trimmed, ASCII letters upper-cased),
// keyed once per process: a file cannot be made of names that all land in one slot.
class NameHasher {
public:
    static std::uint64_t Hash(std::string_view name) {
        static const Key key = MakeKey();
        NameHasher h(key);
        for (const char c : Trim(name)) {
            h.Add(Upper(c));
        }
        return h.Finish();
    }

private:
    struct Key {
        std::uint64_t k0;
        std::uint64_t k1;
    };

    static Key MakeKey() {
        try {
            std::random_device device;
            const auto word = [&device] {
                return static_cast<std::uint64_t>(device()) << 32 | device();
            };
            return {word(), word()};
        } catch (const std::exception&) {
            // No entropy source: the clock still keeps the key out of a file's reach.
            const auto now = static_cast<std::uint64_t>(
                std::chrono::steady_clock::now().time_since_epoch().count());
            return {now * 0x9E3779B97F4A7C15u, now ^ 0xD6E8FEB86659FD93u};
        }
    }

    explicit NameHasher(const Key& key)
        : v0_(key.k0 ^ 0x736f6d6570736575u),
          v1_(key.k1 ^ 0x646f72616e646f6du),
          v2_(key.k0 ^ 0x6c7967656e657261u),
          v3_(key.k1 ^ 0x7465646279746573u) {}

    static std::uint64_t Rotate(std::uint64_t x, int bits) { return x << bits | x >> (64 - bits); }

    void Round() {
        v0_ += v1_;
        v1_ = Rotate(v1_, 13) ^ v0_;
        v0_ = Rotate(v0_, 32);
        v2_ += v3_;
        v3_ = Rotate(v3_, 16) ^ v2_;
        v0_ += v3_;
        v3_ = Rotate(v3_, 21) ^ v0_;
        v2_ += v1_;
        v1_ = Rotate(v1_, 17) ^ v2_;
        v2_ = Rotate(v2_, 32);
    }

    void Add(unsigned char byte) {
        tail_ |= static_cast<std::uint64_t>(byte) << (8 * (length_ % 8));
        if (++length_ % 8 == 0) {
            v3_ ^= tail_;
            Round();
            v0_ ^= tail_;
            tail_ = 0;
        }
    }

    std::uint64_t Finish() {
        const std::uint64_t last = static_cast<std::uint64_t>(length_) << 56 | tail_;
        v3_ ^= last;
        Round();
        v0_ ^= last;
        v2_ ^= 0xFF;
        Round();
        Round();
        Round();
        return v0_ ^ v1_ ^ v2_ ^ v3_;
    }

    std::uint64_t v0_, v1_, v2_, v3_;
    std::uint64_t tail_ = 0;
    std::size_t length_ = 0;
};

// The position of the first record of each name, in an open-addressing table at most half
// full. Each slot keeps the high half of its name's hash, so a probe reads a record only when
// that half matches. Lookups often go through the records in their order (InterruptDetect0, 1,
// 2, ...; Comment Line0001, Line0002, ...), so the record found last and the one after it are
// tried first, each when it is the first of its name.
class NameTable {
public:
    template <typename Record, typename NameOf>
    NameTable(const std::vector<Record>& records, NameOf nameOf) : first_(records.size()) {
        std::size_t size = 16;
        while (size < 2 * records.size()) {
            size *= 2;
        }
        slots_.assign(size, Slot{});
        std::vector<std::uint64_t> hashes(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            hashes[i] = NameHasher::Hash(nameOf(records[i]));
        }
        // The slots are read in no order: asked for a few records ahead, they are there when
        // their turn comes.
        constexpr std::size_t kAhead = 8;
        for (std::size_t i = 0; i < records.size(); ++i) {
#if defined(__GNUC__)
            if (i + kAhead < records.size()) {
                __builtin_prefetch(&slots_[hashes[i + kAhead] & (size - 1)]);
            }
#endif
            const std::uint64_t hash = hashes[i];
            Slot& slot = Probe(records, nameOf(records[i]), hash, nameOf);
            if (slot.position == 0) {
                // A later record of the same name stays hidden, as it does from a scan.
                slot = {static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(hash >> 32)};
                first_[i] = true;
            }
        }
    }

    template <typename Record, typename NameOf>
    const Record* Find(const std::vector<Record>& records, std::string_view name, NameOf nameOf) {
        for (const std::size_t guess : {last_ + 1, last_}) {
            if (guess < records.size() && first_[guess] && SameName(nameOf(records[guess]), name)) {
                last_ = guess;
                return &records[guess];
            }
        }
        const Slot& slot = Probe(records, name, NameHasher::Hash(name), nameOf);
        if (slot.position == 0) {
            return nullptr;
        }
        last_ = slot.position - 1;
        return &records[last_];
    }

private:
    struct Slot {
        std::uint32_t position = 0;  // a record's position + 1; 0 when empty
        std::uint32_t tag = 0;       // the high half of its name's hash
    };

    // The slot holding the record of that name, or the empty slot where it would go.
    template <typename Record, typename NameOf>
    Slot& Probe(const std::vector<Record>& records, std::string_view name, std::uint64_t hash,
                NameOf nameOf) {
        const std::size_t mask = slots_.size() - 1;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.position == 0 ||
                (slot.tag == tag && SameName(nameOf(records[slot.position - 1]), name))) {
                return slot;
            }
        }
    }

    std::vector<Slot> slots_;
    std::vector<bool> first_;          // whether each record is the first of its name
    std::size_t last_ = SIZE_MAX - 1;  // the record found last; none at first
};

std::string_view SectionName(const IniSection& section) {
    return section.name;
}

std::string_view EntryKey(const IniEntry& entry) {
    return entry.key;
}

}  // namespace

struct IniNameIndex {
    explicit IniNameIndex(const IniFile& document)
        : sections(document.sections, SectionName), keys(document.sections.size()) {}

    NameTable sections;
    std::vector<std::unique_ptr<NameTable>> keys;  // one per section, built when first asked
};

namespace {

// The first record named `name` in a sorted list; the stable sort keeps file order among equal
// names, so the lower bound is the record a scan in file order finds first.
template <typename Record, typename NameOf>
const Record* FindSorted(const std::vector<Record>& records, std::string_view name, NameOf nameOf) {
    const auto found = std::lower_bound(records.begin(), records.end(), name,
                                        [&](const Record& record, std::string_view n) {
                                            return IniCompareNames(nameOf(record), n) < 0;
                                        });
    if (found != records.end() && IniCompareNames(nameOf(*found), name) == 0) {
        return &*found;
    }
    return nullptr;
}

IniNameIndex& IndexOf(const IniFile& document) {
    if (!document.index) {
        document.index = std::make_shared<IniNameIndex>(document);
    }
    return *document.index;
}

const IniSection* FindSection(const IniFile& document, std::string_view name) {
    if (document.sorted) {
        return FindSorted(document.sections, name, SectionName);
    }
    return IndexOf(document).sections.Find(document.sections, name, SectionName);
}

const IniEntry* FindEntry(const IniFile& document, std::string_view section, std::string_view key) {
    const IniSection* found = FindSection(document, section);
    if (found == nullptr) {
        return nullptr;
    }
    if (found->sorted) {
        return FindSorted(found->entries, key, EntryKey);
    }
    std::unique_ptr<NameTable>& keys =
        IndexOf(document).keys[static_cast<std::size_t>(found - document.sections.data())];
    if (!keys) {
        keys = std::make_unique<NameTable>(found->entries, EntryKey);
    }
    return keys->Find(found->entries, key, EntryKey);
}

// The entry's value without surrounding quotes. It points into the document, so it stays valid
// as long as the document is not loaded again or destroyed.
std::optional<std::string_view> RawLookup(IniFile& document, std::string_view section,
                                          std::string_view key) {
    const IniEntry* entry = FindEntry(document, section, key);
    if (entry == nullptr) {
        return std::nullopt;
    }
    document.lastLineNumber = entry->lineNumber;
    std::string_view value = entry->value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void DecodeEscapes(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) {
            break;  // a lone backslash at the end
        }
        switch (text[i]) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'x': {
                if (text.size() - i < 3) {
                    return;  // too short for two digits: the escape ends the text
                }
                const int byte = 16 * HexDigitValue(text[i + 1]) + HexDigitValue(text[i + 2]);
                out.push_back(static_cast<char>(static_cast<unsigned char>(byte & 0xFF)));
                i += 2;
                break;
            }
            default:
                out.push_back(text[i]);
                break;
        }
    }
}

std::string NumberedKey(std::string_view key, int counter) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", counter);
    std::string name(key);
    name += " Line";
    name += number;
    return name;
}

}  // namespace

IniDocument IniCreate(bool sorted) {
    IniDocument document(new (std::nothrow) IniFile);
    if (document) {
        document->sorted = sorted;
        document->result.reserve(256);
    }
    return document;
}

void IniDestroy(IniDocument document) {
    document.reset();
}

int IniLoad(IniFile& document, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return kIniOpenFailed;
    }
    FileSource source(file);
    return IniLoadFromSource(document, source);
}

int IniLoadFromMemory(IniFile& document, std::string_view bytes) {
    MemorySource source(bytes);
    return IniLoadFromSource(document, source);
}

int IniLoadFromSource(IniFile& document, IniByteSource& source) {
    int result = 0;
    document.index.reset();
    try {
        LineReader reader(source);
        std::string line;
        bool inSection = false;
        for (;;) {
            const LineReader::Status status = reader.Next(line);
            if (status == LineReader::Status::End) {
                break;
            }
            if (status == LineReader::Status::Failed) {
                result = kIniReadFailed;
                break;
            }
            ParseLine(document, line, reader.LineNumber(), inSection);
        }
    } catch (const std::bad_alloc&) {
        result = kIniOutOfMemory;
    }
    // Sorted even after a failure, so that binary search stays right on what was read.
    if (document.sorted) {
        SortDocument(document);
    }
    return result;
}

int IniCompareNames(std::string_view a, std::string_view b) {
    // Stored names carry no white space at their ends, so trimming both sides matches a
    // comparison that lets the longer text end in white space, and keeps a strict order for
    // sorting.
    a = Trim(a);
    b = Trim(b);
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ca = Upper(a[i]);
        const unsigned char cb = Upper(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

int IniSectionExists(const IniFile& document, std::string_view section) {
    return FindSection(document, section) != nullptr ? 1 : 0;
}

int IniKeyExists(const IniFile& document, std::string_view section, std::string_view key) {
    return FindEntry(document, section, key) != nullptr ? 1 : 0;
}

int IniGetString(IniFile& document, std::string_view section, std::string_view key,
                 std::string& destination, std::size_t destinationSize) {
    destination.clear();
    try {
        std::string joined;
        std::string_view text;
        if (const auto raw = RawLookup(document, section, key)) {
            text = *raw;
        } else {
            // Each character of the result takes at most four of the text ("\xHH"), so the
            // numbered keys past that many add nothing that reaches the destination. Reading
            // them anyway would make a long chain cost its whole length at every lookup.
            const std::size_t enough =
                destinationSize < SIZE_MAX / 4 ? 4 * destinationSize : SIZE_MAX;
            int counter = 1;
            while (const auto part = RawLookup(document, section, NumberedKey(key, counter))) {
                joined += *part;
                ++counter;
                if (joined.size() >= enough) {
                    break;
                }
            }
            if (counter == 1) {
                return 0;
            }
            text = joined;
        }
        DecodeEscapes(text, document.result);
        // The text ends at a decoded NUL, as it does for every C string the callers pass on.
        std::size_t length = document.result.find('\0');
        if (length == std::string::npos) {
            length = document.result.size();
        }
        if (destinationSize > 0) {
            destination.assign(document.result, 0, std::min(length, destinationSize - 1));
        }
        return 1;
    } catch (const std::bad_alloc&) {
        destination.clear();
        return kIniOutOfMemory;
    }
}

int IniGetUnsigned(IniFile& document, std::string_view section, std::string_view key,
                   std::uint32_t& value) {
    const auto raw = RawLookup(document, section, key);
    if (!raw) {
        return 0;
    }
    std::string_view text = Trim(*raw);
    if (text.empty()) {
        return 0;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return kIniNotUnsigned;
    }
    std::uint64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return kIniNotUnsigned;  // a minus sign, a letter, or white space inside the number
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
        if (number > 0xFFFFFFFFu) {
            return kIniNotUnsigned;
        }
    }
    value = static_cast<std::uint32_t>(number);
    return 1;
}

}  // namespace tessaly
