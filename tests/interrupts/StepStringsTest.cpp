#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "interrupts/StepStrings.h"

namespace tessaly {

// Lets a failing comparison show the cells.
void PrintTo(const InterruptStep& row, std::ostream* out) {
    *out << '{' << row.Access << '|' << row.Size << '|' << row.Space << '|' << row.Offset << '|'
         << row.Mask << '|' << row.Value << '}';
}

namespace {

using Rows = std::vector<InterruptStep>;

const InterruptStep kRead8{"Read", "8-bit", "CFG", "0x00000004", "", ""};
const InterruptStep kCompare16{"Compare", "16-bit", "BAR0", "0x00000010", "0xFFFF", "0x0001"};
const InterruptStep kWrite32{"Write", "32-bit", "BAR1", "0x00000100", "", "0x00000001"};
constexpr const char* kThreeSteps =
    "R8 CFG 0x00000004;C16 BAR0 0x00000010 0xFFFF 0x0001;W32 BAR1 0x00000100 0x00000001;";

class WellFormedStringTest : public ::testing::TestWithParam<const char*> {};

TEST_P(WellFormedStringTest, ReEncodesExactlyWithEitherSeparatorSet) {
    const std::string steps = GetParam();
    for (StepSeparators separators : {StepSeparators::Space, StepSeparators::SpaceOrTab}) {
        const Rows rows = RowsFromStepString(steps, separators);
        EXPECT_EQ(static_cast<int>(rows.size()), CountSteps(steps));
        EXPECT_EQ(StepStringFromRows(rows), steps);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strings, WellFormedStringTest,
    ::testing::Values("", kThreeSteps, "C8 CFG 0x00000000 0xFF 0x01;",
                      "W16 BAR5 0x10 0x0001;",  // an offset as typed in a file stays as it is
                      "R32 BAR2 0x00000100;R32 BAR2 0x00000104;R16 BAR3 0x00000000;",
                      "C32 BAR4 0x0000FFFC 0x80000000 0x80000000;W8 CFG 0x0000003C 0x00;"));

struct ParseCase {
    const char* name;
    const char* steps;
    StepSeparators separators;
    Rows expected;
};

class RowsFromStepStringTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RowsFromStepStringTest, GivesTheCellsOfEachStep) {
    EXPECT_EQ(RowsFromStepString(GetParam().steps, GetParam().separators), GetParam().expected);
}

const ParseCase kParseCases[] = {
    {"ThreeKinds", kThreeSteps, StepSeparators::Space, {kRead8, kCompare16, kWrite32}},
    {"OffsetAsTyped",
     "C16 BAR0 0x10 0xFFFF 0x0001;",
     StepSeparators::Space,
     {{"Compare", "16-bit", "BAR0", "0x10", "0xFFFF", "0x0001"}}},
    {"TabSeparatesRemovalSteps", "R8 CFG\t0x00000004;", StepSeparators::SpaceOrTab, {kRead8}},
    {"TabIsNoSeparatorInDetectionSteps",
     "R8 CFG\t0x00000004;",
     StepSeparators::Space,
     {{"Read", "8-bit", "CFG\t0x00000004", "", "", ""}}},
    {"TabsThroughAWriteStep",
     "W8\tCFG\t0x4\t0x5;",
     StepSeparators::SpaceOrTab,
     {{"Write", "8-bit", "CFG", "0x4", "", "0x5"}}},
    {"LastStepWithoutSemicolonIsDropped",
     "R8 CFG 0x00000004;W8 CFG 0x00000000 0x01",
     StepSeparators::Space,
     {kRead8}},
    {"NoSemicolonNoRows", "R8 CFG 0x00000004", StepSeparators::Space, {}},
    {"WidthDigitsNotValidated",
     "C64 BAR0 0x0 0x1 0x2;",
     StepSeparators::Space,
     {{"Compare", "64-bit", "BAR0", "0x0", "0x1", "0x2"}}},
    {"UnknownLetterReadsAsWrite",
     "X8 CFG 0x4 0x5;",
     StepSeparators::Space,
     {{"", "8-bit", "CFG", "0x4", "", "0x5"}}},
    {"LowerCaseLetterIsUnknown",
     "r8 CFG 0x4;",
     StepSeparators::Space,
     {{"", "8-bit", "CFG", "0x4", "", ""}}},
    {"LastTokenKeepsFurtherSeparators",
     "R8 CFG 0x4 extra;W8 CFG 0x4 0x5 0x6;",
     StepSeparators::Space,
     {{"Read", "8-bit", "CFG", "0x4 extra", "", ""},
      {"Write", "8-bit", "CFG", "0x4", "", "0x5 0x6"}}},
    {"DoubleSpaceGivesAnEmptyToken",
     "R8  CFG 0x4;",
     StepSeparators::Space,
     {{"Read", "8-bit", "", "CFG 0x4", "", ""}}},
    {"EmptyStepsGiveEmptyRows", ";;", StepSeparators::Space, {{}, {}}},
    {"MissingTokensStayInsideTheirStep",
     "C16 BAR0;R8 CFG 0x4;W8;",
     StepSeparators::Space,
     {{"Compare", "16-bit", "BAR0", "", "", ""},
      {"Read", "8-bit", "CFG", "0x4", "", ""},
      {"Write", "8-bit", "", "", "", ""}}},
    {"MissingSpaceAfterWidth",
     "R8CFG 0x4;C;",
     StepSeparators::Space,
     {{"Read", "8CFG-bit", "0x4", "", "", ""}, {"Compare", "", "", "", "", ""}}},
    {"LeadingSemicolonIsAnEmptyStep", ";R8 CFG 0x00000004;", StepSeparators::Space, {{}, kRead8}},
};

INSTANTIATE_TEST_SUITE_P(Strings, RowsFromStepStringTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(StepStringTest, RemovalStringWithTabComesBackWithSpaces) {
    const Rows rows = RowsFromStepString("R8\tCFG\t0x00000004;C8 BAR1\t0x0 0x1\t0x2;",
                                         StepSeparators::SpaceOrTab);
    EXPECT_EQ(StepStringFromRows(rows), "R8 CFG 0x00000004;C8 BAR1 0x0 0x1 0x2;");
}

struct NumberCase {
    const char* text;
    const char* width;
    std::optional<std::string> expected;
};

class StepNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(StepNumberTest, ReadsAndFormatsForTheWidth) {
    EXPECT_EQ(FormatStepNumber(ReadStepNumber(GetParam().text), GetParam().width),
              GetParam().expected)
        << GetParam().text << " at " << GetParam().width;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, StepNumberTest,
    ::testing::Values(
        NumberCase{"300", "Byte (8-bit)", "0x2C"}, NumberCase{"-1", "Word (16-bit)", "0xFFFF"},
        NumberCase{"-1", "Long (32-bit)", "0xFFFFFFFF"},
        NumberCase{"010", "Long (32-bit)", "0x00000008"},
        NumberCase{"12abc", "Byte (8-bit)", "0x0C"}, NumberCase{"abc", "Word (16-bit)", "0x0000"},
        NumberCase{"0x1FF", "Byte (8-bit)", "0xFF"}, NumberCase{"256", "Byte (8-bit)", "0x00"},
        NumberCase{"0x1abc", "Word (16-bit)", "0x1ABC"},
        NumberCase{" 0X12345", "Word (16-bit)", "0x2345"},
        NumberCase{"0", "8-bit", "0x00"},    // row texts name widths too
        NumberCase{"1", "8 or 16", "0x01"},  // "8" is tested first
        NumberCase{"5", "Quad (64-bit)", std::nullopt}, NumberCase{"5", "", std::nullopt}));

TEST(StepNumberTest, KeepsAllBitsOfTheNumberRead) {
    EXPECT_EQ(ReadStepNumber("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadStepNumber("010"), 8u);
    EXPECT_EQ(ReadStepNumber("12abc"), 12u);
    EXPECT_EQ(ReadStepNumber("abc"), 0u);
    EXPECT_EQ(ReadStepNumber("\t0xfffffffe"), 0xFFFFFFFEu);
    EXPECT_EQ(FormatStepOffset(ReadStepNumber("12")), "0x0000000C");
    EXPECT_EQ(FormatStepOffset(ReadStepNumber("-2")), "0xFFFFFFFE");
}

struct EditorCase {
    StepEditorFields fields;
    InterruptStep row;
    const char* stepText;
    int tokens;
};

class EditorRowTest : public ::testing::TestWithParam<EditorCase> {};

int CountTokens(const std::string& stepText) {
    return static_cast<int>(std::count(stepText.begin(), stepText.end(), ' ')) + 1;
}

TEST_P(EditorRowTest, EditorFieldsGiveTheRowAndItsStepText) {
    const InterruptStep row = RowFromEditorFields(GetParam().fields);
    EXPECT_EQ(row, GetParam().row);
    const std::string text = StepTextFromRow(row);
    EXPECT_EQ(text, GetParam().stepText);
    EXPECT_EQ(CountTokens(text), GetParam().tokens);
}

TEST_P(EditorRowTest, RowGoesBackToTheEditorAndReturnsUnchanged) {
    const StepEditorFields fields = EditorFieldsFromRow(GetParam().row);
    EXPECT_EQ(RowFromEditorFields(fields), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditorRowTest,
    ::testing::Values(
        EditorCase{{"Read", "Byte (8-bit)", "CFG", "0x00000004", "0x00", "0x00"},
                   kRead8,
                   "R8 CFG 0x00000004;",
                   3},
        EditorCase{{"Write", "Long (32-bit)", "BAR1", "0x00000100", "0x00000000", "0x00000001"},
                   kWrite32,
                   "W32 BAR1 0x00000100 0x00000001;",
                   4},
        EditorCase{{"Read/Compare", "Word (16-bit)", "BAR0", "0x00000010", "0xFFFF", "0x0001"},
                   kCompare16,
                   "C16 BAR0 0x00000010 0xFFFF 0x0001;",
                   5}));

TEST(EditorFieldsTest, EmptyMaskAndValueOpenAsZeroOfTheWidth) {
    const StepEditorFields fields = EditorFieldsFromRow(kRead8);
    EXPECT_EQ(fields, (StepEditorFields{"Read", "Byte (8-bit)", "CFG", "0x00000004", "0", "0"}));
    EXPECT_EQ(FormatStepNumber(ReadStepNumber(fields.Mask), fields.Width), "0x00");
    EXPECT_EQ(FormatStepNumber(ReadStepNumber(fields.Value), fields.Width), "0x00");
}

TEST(EditorFieldsTest, UnknownSizeKeepsTheEditorWidth) {
    const InterruptStep odd{"Compare", "64-bit", "BAR0", "0x0", "0x1", "0x2"};
    EXPECT_EQ(EditorFieldsFromRow(odd).Width, "Word (16-bit)");
    StepEditorFields chosen;
    chosen.Width = "Long (32-bit)";
    const StepEditorFields fields = EditorFieldsFromRow(odd, chosen);
    EXPECT_EQ(fields,
              (StepEditorFields{"Read/Compare", "Long (32-bit)", "BAR0", "0x0", "0x1", "0x2"}));
}

TEST(EditorFieldsTest, WidthNamingNoWidthKeepsTheRowSize) {
    StepEditorFields fields{"Write", "", "BAR2", "0x00000000", "0", "0x01"};
    const InterruptStep before{"Write", "64-bit", "BAR2", "0x0", "", "0x1"};
    EXPECT_EQ(RowFromEditorFields(fields, before).Size, "64-bit");
    EXPECT_EQ(RowFromEditorFields(fields).Size, "");
    fields.Width = "Byte (8-bit)";
    EXPECT_EQ(RowFromEditorFields(fields, before).Size, "8-bit");
}

TEST(StepTextTest, CutsTheSizeAtTheFirstLetterOfBit) {
    EXPECT_EQ(StepTextFromRow({"Compare", "64-bit", "BAR0", "0x0", "0x1", "0x2"}),
              "C64 BAR0 0x0 0x1 0x2;");
    EXPECT_EQ(StepTextFromRow({"Read", "", "CFG", "0x4", "", ""}), "R CFG 0x4;");
    EXPECT_EQ(StepTextFromRow({"", "8-bit", "CFG", "0x4", "", "0x5"}), "8 CFG 0x4 0x5;");
}

TEST(CountStepsTest, CountsSemicolonsAfterTheFirstCharacter) {
    EXPECT_EQ(CountSteps(""), 0);
    EXPECT_EQ(CountSteps(";"), 0);
    EXPECT_EQ(CountSteps(";R8 CFG 0x00000004;"), 1);
    EXPECT_EQ(CountSteps(kThreeSteps), 3);
    EXPECT_EQ(CountSteps("R8 CFG 0x00000004"), 0);
}

TEST(HasCompareStepTest, LooksAtTheStartOfEveryFinishedStep) {
    EXPECT_TRUE(HasCompareStep(kThreeSteps));
    EXPECT_TRUE(HasCompareStep("C8 CFG 0x0 0x1 0x1;"));
    EXPECT_FALSE(HasCompareStep(""));
    EXPECT_FALSE(HasCompareStep("R8 CFG 0x00000004;W32 BAR1 0x00000100 0x00000001;"));
    EXPECT_FALSE(HasCompareStep("R8 CFG 0x00000004;C8 CFG 0x0 0x1 0x1"));  // not finished
    EXPECT_FALSE(HasCompareStep("C64 CFG 0x0 0x1 0x1;"));
}

}  // namespace
}  // namespace tessaly
