#include "tests/fakes/Golden.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tessaly::testing {
namespace {

// The line holding byte `offset`, with CR, LF and other control bytes made visible.
std::string LineAround(const std::string& text, std::size_t offset) {
    const std::size_t start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t begin = start == std::string::npos || offset == 0 ? 0 : start + 1;
    const std::size_t end = text.find('\n', begin);
    std::string out;
    for (unsigned char c : text.substr(begin, end == std::string::npos ? end : end - begin + 1)) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        out += c == '\r'                 ? "\\r"
               : c == '\n'               ? "\\n"
               : (c < 0x20 || c >= 0x7F) ? escaped
                                         : std::string(1, static_cast<char>(c));
    }
    return out;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string GoldenPath(const std::string& name) {
    return std::string(TESSALY_GOLDEN_DIR) + "/" + name;
}

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    std::size_t offset = 0;
    while (offset < expected.size() && offset < actual.size() &&
           expected[offset] == actual[offset]) {
        ++offset;
    }
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        line += expected[i] == '\n';
    }
    return ::testing::AssertionFailure()
           << "first difference at byte " << offset << ", line " << line << " (sizes "
           << expected.size() << " expected, " << actual.size() << " actual)\n"
           << "  expected: " << LineAround(expected, offset) << "\n"
           << "  actual:   " << LineAround(actual, offset);
}

::testing::AssertionResult MatchesGolden(const std::string& goldenName, const std::string& actual) {
    return SameBytes(ReadFileBytes(GoldenPath(goldenName)), actual);
}

}  // namespace tessaly::testing
