#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interrupts/StepEditorFields.h"

namespace tessaly {

// One register access as a list row shows it: six cell texts, held as text so that a step read
// from a file keeps its tokens exactly as they stood.
struct InterruptStep {
    std::string Access;  // "Read", "Compare" or "Write"
    std::string Size;    // "8-bit", "16-bit" or "32-bit"
    std::string Space;   // "CFG" or "BAR0" to "BAR5"
    std::string Offset;  // "0x%08X"
    std::string Mask;    // Compare steps only
    std::string Value;   // Compare and Write steps only

    friend bool operator==(const InterruptStep&, const InterruptStep&) = default;
};

// The entries of the step editor's lists, in the order they are offered.
inline constexpr std::array<std::string_view, 3> kEditorAccessTexts = {"Read", "Read/Compare",
                                                                       "Write"};
inline constexpr std::array<std::string_view, 3> kEditorWidthTexts = {
    "Byte (8-bit)", "Word (16-bit)", "Long (32-bit)"};
inline constexpr std::array<std::string_view, 7> kSpaceTexts = {"CFG",  "BAR0", "BAR1", "BAR2",
                                                                "BAR3", "BAR4", "BAR5"};

// Which characters separate the tokens of a step when a string is read back: detection
// strings know only the space, the removal string also accepts a tab.
enum class StepSeparators { Space, SpaceOrTab };

// Reads a number as "%i" does (0x for hexadecimal, a leading 0 for octal); the bits of a
// negative number are kept, so -1 gives 0xFFFFFFFF. Nothing readable gives 0.
std::uint32_t ReadStepNumber(std::string_view text);

// The value in the format of the editor width text ("8": 0x%02X, else "16": 0x%04X, else "32":
// 0x%08X), cut to that width. nullopt when the text names no width: the caller keeps its text.
std::optional<std::string> FormatStepNumber(std::uint32_t value, std::string_view widthText);

// An offset, whatever the width: 0x%08X.
std::string FormatStepOffset(std::uint32_t value);

// The row the editor's texts give. `row` holds the cells before the edit: its Size is kept
// when the editor width names no width.
InterruptStep RowFromEditorFields(const StepEditorFields& fields, const InterruptStep& row = {});

// The editor texts for a row, starting from `fields` (the editor's defaults unless given): its
// Width stays when the Size cell holds none of 8, 16 and 32.
StepEditorFields EditorFieldsFromRow(const InterruptStep& row, StepEditorFields fields = {});

// One step text, tokens joined by single spaces and ended by ";".
std::string StepTextFromRow(const InterruptStep& row);

// The step texts of the rows, in order, with nothing between them.
std::string StepStringFromRows(const std::vector<InterruptStep>& rows);

// One row per ";" of the string, in order; text after the last ";" is not a step. A step that
// lacks tokens leaves the cells it does not reach empty, and an empty width gives an empty
// Size cell.
std::vector<InterruptStep> RowsFromStepString(std::string_view steps, StepSeparators separators);

// The number of ";" in a step string from its second character on.
int CountSteps(std::string_view steps);

// True when a step of the string begins with C8, C16 or C32 followed by a space.
bool HasCompareStep(std::string_view steps);

}  // namespace tessaly
