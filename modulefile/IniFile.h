#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A small reader for INI-style files: sections of key/value entries, looked up by name,
// case-insensitively. Module Description Files are read through it.
namespace tessaly {

inline constexpr int kIniOpenFailed = -5001;
inline constexpr int kIniReadFailed = -5002;
inline constexpr int kIniOutOfMemory = -12;
inline constexpr int kIniNotUnsigned = -5022;

// Characters kept of one line; the rest of a longer line is read and dropped.
inline constexpr std::size_t kIniMaxLineLength = 255;
// Size of the line reader's buffer, refilled whenever it runs empty.
inline constexpr std::size_t kIniReadBufferSize = 2084;

struct IniEntry {
    std::string key;    // white space removed at both ends
    std::string value;  // white space removed at both ends; surrounding quotes still present
    int lineNumber = 0;
};

struct IniSection {
    std::string name;  // white space removed at both ends
    std::vector<IniEntry> entries;
    bool sorted = false;
    int lineNumber = 0;  // line of the section header
};

// Where each name first occurs in an unsorted document, so that a lookup costs the same in a
// file of a million keys as in one of ten.
struct IniNameIndex;

// A loaded document. Lookups take the first match in file order, or use binary search when
// the document was created sorted.
struct IniFile {
    std::vector<IniSection> sections;
    bool sorted = false;
    int lastLineNumber = -1;  // line of the entry found by the last successful lookup
    std::string result;       // receives the text of IniGetString
    // Built at the first lookup, a section's keys at the first lookup in it; loading drops it.
    mutable std::shared_ptr<IniNameIndex> index;
};

using IniDocument = std::unique_ptr<IniFile>;

// A new empty document; empty when memory is exhausted.
IniDocument IniCreate(bool sorted);

// Frees the document and everything in it; an empty document is fine.
void IniDestroy(IniDocument document);

// Where the line reader takes its bytes from.
class IniByteSource {
public:
    virtual ~IniByteSource() = default;
    // Copies up to `capacity` bytes into `buffer` and returns their count, 0 at the end.
    // Sets `failed` on a stream error.
    virtual std::size_t Read(char* buffer, std::size_t capacity, bool& failed) = 0;
};

// Reads the file (opened "rb") into the document: 0, kIniOpenFailed, kIniReadFailed or
// kIniOutOfMemory. On a failure the document keeps what was read before it.
int IniLoad(IniFile& document, const std::string& path);

// Reads bytes held in memory through the same line reader as IniLoad.
int IniLoadFromMemory(IniFile& document, std::string_view bytes);

// Reads from any source through the line reader; the result codes of IniLoad.
int IniLoadFromSource(IniFile& document, IniByteSource& source);

// The name comparison of every section and key match: upper-cased characters, white space
// at either end ignored. Negative, zero or positive like strcmp.
int IniCompareNames(std::string_view a, std::string_view b);

// 1 when a section of that name exists, else 0.
int IniSectionExists(const IniFile& document, std::string_view section);

// 1 when the section exists and holds the key, else 0.
int IniKeyExists(const IniFile& document, std::string_view section, std::string_view key);

// The key's text, or the concatenation of the numbered keys "<key> Line0001", "<key> Line0002",
// ... when the key itself is missing, with its escapes decoded. `destination` receives at most
// `destinationSize` - 1 characters. 1 found, 0 not found (destination empty), kIniOutOfMemory.
int IniGetString(IniFile& document, std::string_view section, std::string_view key,
                 std::string& destination, std::size_t destinationSize);

// The key's value as an unsigned decimal number: 1 found and valid, 0 missing or blank,
// kIniNotUnsigned otherwise. `value` is set only when the result is 1.
int IniGetUnsigned(IniFile& document, std::string_view section, std::string_view key,
                   std::uint32_t& value);

}  // namespace tessaly
