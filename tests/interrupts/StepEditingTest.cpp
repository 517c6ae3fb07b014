#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "interrupts/SequenceEdits.h"
#include "interrupts/StepEditorRules.h"

namespace tessaly {
namespace {

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

TEST(StepEditorRulesTest, AccessTypeDecidesMaskAndValue) {
    EXPECT_EQ(EnablingForAccess("Read"), (EditorEnabling{false, false}));
    EXPECT_EQ(EnablingForAccess("Read/Compare"), (EditorEnabling{true, true}));
    EXPECT_EQ(EnablingForAccess("Write"), (EditorEnabling{false, true}));
    for (const char* other : {"", "Compare", "read"}) {
        EXPECT_EQ(EnablingForAccess(other), std::nullopt) << other;
    }
}

// The offset ignores the width; mask and value follow it, or stay when it names none.
TEST(StepEditorRulesTest, NormalisingGivesNumbersOfTheWidth) {
    const StepEditorFields typed{"Read", "Byte (8-bit)", "BAR1", "010", "0x1FF", "x"};
    EXPECT_EQ(NormaliseStepNumbers(typed),
              (StepEditorFields{"Read", "Byte (8-bit)", "BAR1", "0x00000008", "0xFF", "0x00"}));
    StepEditorFields noWidth = typed;
    noWidth.Width.clear();
    EXPECT_EQ(NormaliseStepNumbers(noWidth),
              (StepEditorFields{"Read", "", "BAR1", "0x00000008", "0x1FF", "x"}));
}

TEST(SequenceEditsTest, NewStepsGoBeforeOrAfterTheFirstSelectedRow) {
    using Case = std::tuple<std::optional<std::size_t>, bool, std::size_t>;
    for (const auto& [selected, after, row] :
         {Case{std::nullopt, true, 3}, Case{std::nullopt, false, 0}, Case{1, true, 2},
          Case{1, false, 1}, Case{2, true, 3}}) {
        EXPECT_EQ(NewStepRow(selected, 3, after), row);
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

TEST(SequenceEditsTest, NumbersGrowPastRemovedSequences) {
    std::vector<DetectSequence> sequences;
    for (int expected : {0, 1, 2}) {
        EXPECT_EQ(AddDetectSequence(sequences), expected);
    }
    EXPECT_TRUE(RemoveDetectSequence(sequences, 1));
    EXPECT_FALSE(RemoveDetectSequence(sequences, 1));
    EXPECT_EQ(AddDetectSequence(sequences), 3);
    EXPECT_EQ(sequences, (std::vector<DetectSequence>{{0, "", 0}, {2, "", 0}, {3, "", 0}}));
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
