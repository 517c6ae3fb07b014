#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"
#include "interrupts/StepStrings.h"

namespace tessaly {

// Where a new step goes in a list of `rowCount` rows: "after" one below the first selected
// row, "before" in its place; without a selection at the bottom or the top.
std::size_t NewStepRow(std::optional<std::size_t> firstSelected, std::size_t rowCount, bool after);

// The row that takes the selection once `removedRow` is gone: the one before it, or the new
// first row.
inline std::size_t RowAfterRemoval(std::size_t removedRow) {
    return removedRow > 0 ? removedRow - 1 : 0;
}

// The entry numbered `number`, or null.
DetectSequence* FindDetectSequence(std::vector<DetectSequence>& sequences, std::int32_t number);

// Appends an empty sequence numbered one above the greatest Number (0 for the first) and
// returns that Number. Numbers are labels: they are never reused by renumbering.
std::int32_t AddDetectSequence(std::vector<DetectSequence>& sequences);

// Deletes the entry numbered `number`; false when there is none.
bool RemoveDetectSequence(std::vector<DetectSequence>& sequences, std::int32_t number);

// Puts `stepText` where a new row `row` stands: after the row-th ";", at the start for row 0
// and at the end when the string holds fewer steps. StepCount grows by one.
void InsertStepText(DetectSequence& sequence, std::size_t row, std::string_view stepText);

// Steps rebuilt from the rows; StepCount stays, as the number of rows has not changed.
void SetStepsFromRows(DetectSequence& sequence, const std::vector<InterruptStep>& rows);

// Removes the step text of row `row` with its ";" from the entry numbered `number` and moves
// the entry to the end of the list, the others keeping their order. False when the entry or the
// step is not there (nothing changes then).
bool RemoveStepMovingToEnd(std::vector<DetectSequence>& sequences, std::int32_t number,
                           std::size_t row);

}  // namespace tessaly
