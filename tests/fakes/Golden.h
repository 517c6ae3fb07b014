#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tessaly::testing {

// The bytes of a file, or a failed test when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Path of a golden file under tests/golden/.
std::string GoldenPath(const std::string& name);

// Compares bytes exactly; on a difference names the first differing line (1-based) and shows
// both lines with CR, LF and other control bytes made visible.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual);

// SameBytes against a golden file.
::testing::AssertionResult MatchesGolden(const std::string& goldenName, const std::string& actual);

}  // namespace tessaly::testing
