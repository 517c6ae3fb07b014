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
