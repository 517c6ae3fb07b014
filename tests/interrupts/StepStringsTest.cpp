#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "interrupts/SequenceEdits.h"
#include "interrupts/StepEditorRules.h"
#include "interrupts/StepStrings.h"

namespace tessaly {
namespace {

using Rows = std::vector<InterruptStep>;
using enum StepSeparators;

// The cells of the rows, "|" between cells and "/" after each row: one line of a table, and
// readable when a comparison fails.
std::string Cells(const Rows& rows) {
    std::string text;
    for (const InterruptStep& r : rows) {
        text += r.Access + "|" + r.Size + "|" + r.Space + "|" + r.Offset + "|" + r.Mask + "|" +
                r.Value + "/";
    }
    return text;
}

const InterruptStep kRead8{"Read", "8-bit", "CFG", "0x00000004", "", ""};
const InterruptStep kCompare16{"Compare", "16-bit", "BAR0", "0x00000010", "0xFFFF", "0x0001"};
const InterruptStep kWrite32{"Write", "32-bit", "BAR1", "0x00000100", "", "0x00000001"};
constexpr const char* kThreeSteps =
    "R8 CFG 0x00000004;C16 BAR0 0x00000010 0xFFFF 0x0001;W32 BAR1 0x00000100 0x00000001;";

TEST(StepStringTest, WellFormedStringsComeBackExactlyWithEitherSeparatorSet) {
    // An offset as typed in a file (0x10) and an unknown width (64) stay as they are.
    for (const std::string steps :
         {"", kThreeSteps, "W16 BAR5 0x10 0x0001;C64 BAR0 0x0 0x1 0x2;",
          "C32 BAR4 0x0000FFFC 0x80000000 0x80000000;W8 CFG 0x3C 0x00;"}) {
        for (const StepSeparators separators : {Space, SpaceOrTab}) {
            const Rows rows = RowsFromStepString(steps, separators);
            EXPECT_EQ(static_cast<int>(rows.size()), CountSteps(steps)) << steps;
            EXPECT_EQ(StepStringFromRows(rows), steps);
        }
    }
    // Tabs become spaces and an unknown letter is lost.
    EXPECT_EQ(StepStringFromRows(RowsFromStepString("R8\tCFG\t0x4;X8 BAR1\t0x0\t0x2;", SpaceOrTab)),
              "R8 CFG 0x4;8 BAR1 0x0 0x2;");
}

// Tokens missing from a malformed step stay empty instead of coming from the next step.
TEST(StepStringTest, EachStepGivesOneRowFromItsOwnTextOnly) {
    using Case = std::tuple<std::string, StepSeparators, std::string>;
    for (const auto& [steps, separators, cells] :
         {Case{std::string(kThreeSteps) + "W8 CFG 0x0", Space,
               Cells({kRead8, kCompare16, kWrite32})},
          Case{"R8 CFG\t0x00000004;", SpaceOrTab, Cells({kRead8})},
          Case{"R8 CFG\t0x00000004;", Space, "Read|8-bit|CFG\t0x00000004|||/"},
          Case{"C64 BAR0 0x0 0x1 0x2;X8 CFG 0x4 0x5;r8 CFG 0x4;", Space,
               "Compare|64-bit|BAR0|0x0|0x1|0x2/|8-bit|CFG|0x4||0x5/|8-bit|CFG|0x4||/"},
          Case{"R8 CFG 0x4 x;W8 CFG 0x4 0x5 0x6;", Space,
               "Read|8-bit|CFG|0x4 x||/Write|8-bit|CFG|0x4||0x5 0x6/"},
          Case{
              "C16 BAR0;R8 CFG 0x4;;W8;C;", Space,
              "Compare|16-bit|BAR0|||/Read|8-bit|CFG|0x4||/|||||/Write|8-bit||||/Compare|||||/"}}) {
        EXPECT_EQ(Cells(RowsFromStepString(steps, separators)), cells) << steps;
    }
}

// The text is read by ParseIdText (pinned in IdTextTest); here the width picks the format.
TEST(StepNumberTest, FormatsForTheWidthNamedInTheText) {
    // Row texts name widths too, and "8" is tested first.
    using Case = std::tuple<const char*, const char*, std::optional<std::string>>;
    for (const auto& [text, width, expected] :
         {Case{"300", "Byte (8-bit)", "0x2C"}, Case{"-1", "Word (16-bit)", "0xFFFF"},
          Case{"\t0x12345", "Long (32-bit)", "0x00012345"}, Case{"1", "8 or 16", "0x01"},
          Case{"5", "Quad (64-bit)", std::nullopt}, Case{"5", "", std::nullopt}}) {
        EXPECT_EQ(FormatStepNumber(ReadStepNumber(text), width), expected) << text << " " << width;
    }
    EXPECT_EQ(FormatStepOffset(ReadStepNumber("-2")), "0xFFFFFFFE");
}

TEST(StepEditorTest, RowsGoThroughTheEditorAndBack) {
    // The way there is pinned below, so these pin the way back.
    for (const InterruptStep& row : {kRead8, kCompare16, kWrite32}) {
        EXPECT_EQ(Cells({RowFromEditorFields(EditorFieldsFromRow(row))}), Cells({row}));
    }
    // Empty mask and value open as 0, which the editor shows in the width's format.
    EXPECT_EQ(EditorFieldsFromRow(kRead8),
              (StepEditorFields{"Read", "Byte (8-bit)", "CFG", "0x00000004", "0", "0"}));
    // A width named nowhere keeps the other side's width.
    const InterruptStep odd{"Compare", "64-bit", "BAR0", "0x0", "0x1", "0x2"};
    StepEditorFields fields;
    fields.Width = "Long (32-bit)";
    EXPECT_EQ(EditorFieldsFromRow(odd, fields),
              (StepEditorFields{"Read/Compare", "Long (32-bit)", "BAR0", "0x0", "0x1", "0x2"}));
    fields = {"Write", "", "BAR2", "0x00000000", "0x7", "0x01"};
    EXPECT_EQ(Cells({RowFromEditorFields(fields, odd)}), "Write|64-bit|BAR2|0x00000000||0x01/");
}

TEST(StepStringTest, CountsAndFindsOnlyFinishedSteps) {
    EXPECT_EQ(CountSteps(";R8 CFG 0x00000004;"), 1);
    using Case = std::pair<const char*, bool>;
    for (const auto& [steps, has] :
         {Case{kThreeSteps, true}, Case{"", false},
          Case{"R8 CFG 0x00000004;W32 BAR1 0x00000100 0x00000001;", false},
          Case{"R8 CFG 0x00000004;C8 CFG 0x0 0x1 0x1", false},
          Case{"C64 CFG 0x0 0x1 0x1;", false}}) {
        EXPECT_EQ(HasCompareStep(steps), has) << steps;
    }
}

TEST(StepEditorRulesTest, ListsSelectTheFirstEntryBeginningWithTheTextInAnyCase) {
    using Case = std::tuple<std::span<const std::string_view>, const char*, std::optional<int>>;
    for (const auto& [entries, text, index] : {
             Case{kEditorAccessTexts, "Read", 0},  // not "Read/Compare"
             Case{kEditorAccessTexts, "read/c", 1},
             Case{kEditorAccessTexts, "WRITE", 2},
             Case{kEditorAccessTexts, "Compare", std::nullopt},  // a row text, not an editor one
             Case{kEditorAccessTexts, "Read/Compare!", std::nullopt},
             Case{kEditorWidthTexts, "long", 2},
             Case{kSpaceTexts, "bar5", 6},
             Case{kSpaceTexts, "BAR6", std::nullopt},
         }) {
        const auto found = FindEntryByPrefix(entries, text);
        EXPECT_EQ(found ? std::optional(static_cast<int>(*found)) : std::nullopt, index) << text;
    }
}

// The step texts land where the rows do, even in a string that holds fewer steps than rows.
TEST(SequenceEditsTest, InsertedStepTextsMatchTheirRows) {
    using Case = std::tuple<const char*, std::size_t, const char*>;
    for (const auto& [steps, row, result] : {
             Case{"A;B;C;", 0, "N;A;B;C;"}, Case{"A;B;C;", 2, "A;B;N;C;"},
             Case{"A;B;C;", 3, "A;B;C;N;"}, Case{"", 0, "N;"},
             Case{"A;B", 5, "A;BN;"},  // malformed: appended
         }) {
        DetectSequence sequence{7, steps, CountSteps(steps)};
        InsertStepText(sequence, row, "N;");
        EXPECT_EQ(sequence, (DetectSequence{7, result, CountSteps(steps) + 1})) << steps << row;
    }
}

// Removing a step moves its sequence to the end, so the files number it last.
TEST(SequenceEditsTest, RemovingAStepMovesItsSequenceToTheEnd) {
    std::vector<DetectSequence> sequences{{0, "A;B;C;", 3}, {4, "D;", 1}, {2, "E;", 1}};
    EXPECT_TRUE(RemoveStepMovingToEnd(sequences, 0, 1));
    EXPECT_EQ(sequences, (std::vector<DetectSequence>{{4, "D;", 1}, {2, "E;", 1}, {0, "A;C;", 2}}));
    EXPECT_TRUE(RemoveStepMovingToEnd(sequences, 4, 0));
    EXPECT_EQ(sequences, (std::vector<DetectSequence>{{2, "E;", 1}, {0, "A;C;", 2}, {4, "", 0}}));
    // No such step or sequence: nothing moves.
    const auto before = sequences;
    EXPECT_FALSE(RemoveStepMovingToEnd(sequences, 0, 2));
    EXPECT_FALSE(RemoveStepMovingToEnd(sequences, 9, 0));
    EXPECT_EQ(sequences, before);
}

}  // namespace
}  // namespace tessaly
