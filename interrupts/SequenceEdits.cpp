#include "interrupts/SequenceEdits.h"

#include <algorithm>

namespace tessaly {
namespace {

// Where step `row` begins: just after the row-th ";" (0 for the first step); npos when the
// string has fewer semicolons.
std::size_t StepStart(std::string_view steps, std::size_t row) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < row; ++i) {
        const std::size_t semicolon = steps.find(';', start);
        if (semicolon == std::string_view::npos) {
            return std::string_view::npos;
        }
        start = semicolon + 1;
    }
    return start;
}

}  // namespace

std::size_t NewStepRow(std::optional<std::size_t> firstSelected, std::size_t rowCount, bool after) {
    if (!firstSelected) {
        return after ? rowCount : 0;
    }
    return after ? *firstSelected + 1 : *firstSelected;
}

DetectSequence* FindDetectSequence(std::vector<DetectSequence>& sequences, std::int32_t number) {
    const auto found =
        std::find_if(sequences.begin(), sequences.end(),
                     [number](const DetectSequence& s) { return s.Number == number; });
    return found == sequences.end() ? nullptr : &*found;
}

std::int32_t AddDetectSequence(std::vector<DetectSequence>& sequences) {
    std::int32_t number = 0;
    if (!sequences.empty()) {
        number = std::max_element(sequences.begin(), sequences.end(),
                                  [](const DetectSequence& a, const DetectSequence& b) {
                                      return a.Number < b.Number;
                                  })
                     ->Number +
                 1;
    }
    sequences.push_back(DetectSequence{number, {}, 0});
    return number;
}

bool RemoveDetectSequence(std::vector<DetectSequence>& sequences, std::int32_t number) {
    const DetectSequence* entry = FindDetectSequence(sequences, number);
    if (!entry) {
        return false;
    }
    sequences.erase(sequences.begin() + (entry - sequences.data()));
    return true;
}

void InsertStepText(DetectSequence& sequence, std::size_t row, std::string_view stepText) {
    std::size_t at = StepStart(sequence.Steps, row);
    if (at == std::string_view::npos) {
        at = sequence.Steps.size();
    }
    sequence.Steps.insert(at, stepText);
    ++sequence.StepCount;
}

void SetStepsFromRows(DetectSequence& sequence, const std::vector<InterruptStep>& rows) {
    sequence.Steps = StepStringFromRows(rows);
}

bool RemoveStepMovingToEnd(std::vector<DetectSequence>& sequences, std::int32_t number,
                           std::size_t row) {
    DetectSequence* entry = FindDetectSequence(sequences, number);
    if (!entry) {
        return false;
    }
    const std::size_t start = StepStart(entry->Steps, row);
    const std::size_t end =
        start == std::string::npos ? std::string::npos : entry->Steps.find(';', start);
    if (end == std::string::npos) {
        return false;
    }
    entry->Steps.erase(start, end + 1 - start);
    --entry->StepCount;
    const auto at = sequences.begin() + (entry - sequences.data());
    std::rotate(at, at + 1, sequences.end());
    return true;
}

}  // namespace tessaly
