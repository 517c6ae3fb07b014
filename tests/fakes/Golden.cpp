#include "tests/fakes/Golden.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tessaly::testing {
namespace {

std::string Visible(const std::string& line) {
    std::string out;
    for (unsigned char c : line) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Line n (1-based) including its LF, or "" past the end.
std::string LineAt(const std::string& text, std::size_t n) {
    std::size_t start = 0;
    for (std::size_t i = 1; i < n; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos) {
            return "";
        }
        ++start;
    }
    if (start >= text.size()) {
        return "";
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
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
           << "  expected: " << Visible(LineAt(expected, line)) << "\n"
           << "  actual:   " << Visible(LineAt(actual, line));
}

::testing::AssertionResult MatchesGolden(const std::string& goldenName, const std::string& actual) {
    return SameBytes(ReadFileBytes(GoldenPath(goldenName)), actual);
}

}  // namespace tessaly::testing
