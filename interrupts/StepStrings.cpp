#include "interrupts/StepStrings.h"

#include <algorithm>
#include <cstdio>

#include "device/IdText.h"

namespace tessaly {
namespace {

constexpr std::string_view kRowRead = "Read";
constexpr std::string_view kRowCompare = "Compare";
constexpr std::string_view kRowWrite = "Write";
constexpr std::string_view kEditorCompare = "Read/Compare";

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string Hex(const char* format, std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value));
    return buffer;
}

// Hands out the tokens of one step. It sees only that step, so a malformed step can never
// reach into its neighbours.
class StepReader {
public:
    StepReader(std::string_view step, std::string_view separators)
        : step_(step), separators_(separators) {}

    void Skip(std::size_t count) { pos_ = std::min(step_.size(), pos_ + count); }

    // Up to the next separator, then steps over exactly that one separator.
    std::string Token() {
        std::size_t end = step_.find_first_of(separators_, pos_);
        if (end == std::string_view::npos) {
            end = step_.size();
        }
        std::string token(step_.substr(pos_, end - pos_));
        pos_ = std::min(step_.size(), end + 1);
        return token;
    }

    // The last token runs to the end of the step, separators included.
    std::string Rest() {
        std::string rest(step_.substr(pos_));
        pos_ = step_.size();
        return rest;
    }

private:
    std::string_view step_;
    std::string_view separators_;
    std::size_t pos_ = 0;
};

InterruptStep RowFromStepText(std::string_view step, std::string_view separators) {
    InterruptStep row;
    const char letter = step.empty() ? '\0' : step.front();
    if (letter == 'C') {
        row.Access = kRowCompare;
    } else if (letter == 'R') {
        row.Access = kRowRead;
    } else if (letter == 'W') {
        row.Access = kRowWrite;
    }
    // Any other letter leaves Access empty and the step is read as a Write step.
    const bool isRead = letter == 'R';
    const bool isCompare = letter == 'C';

    StepReader reader(step, separators);
    reader.Skip(1);
    const std::string width = reader.Token();
    if (!width.empty()) {
        row.Size = width + "-bit";
    }
    row.Space = reader.Token();
    row.Offset = isRead ? reader.Rest() : reader.Token();
    if (isCompare) {
        row.Mask = reader.Token();
    }
    if (!isRead) {
        row.Value = reader.Rest();
    }
    return row;
}

}  // namespace

std::uint32_t ReadStepNumber(std::string_view text) {
    return static_cast<std::uint32_t>(ParseIdText(text));
}

std::optional<std::string> FormatStepNumber(std::uint32_t value, std::string_view widthText) {
    if (Contains(widthText, "8")) {
        return Hex("0x%02X", value & 0xFFu);
    }
    if (Contains(widthText, "16")) {
        return Hex("0x%04X", value & 0xFFFFu);
    }
    if (Contains(widthText, "32")) {
        return Hex("0x%08X", value);
    }
    return std::nullopt;
}

std::string FormatStepOffset(std::uint32_t value) {
    return Hex("0x%08X", value);
}

InterruptStep RowFromEditorFields(const StepEditorFields& fields, const InterruptStep& row) {
    InterruptStep out;
    out.Access = fields.Access == kEditorCompare ? std::string(kRowCompare) : fields.Access;
    if (Contains(fields.Width, "8")) {
        out.Size = "8-bit";
    } else if (Contains(fields.Width, "16")) {
        out.Size = "16-bit";
    } else if (Contains(fields.Width, "32")) {
        out.Size = "32-bit";
    } else {
        out.Size = row.Size;
    }
    out.Space = fields.Space;
    out.Offset = fields.Offset;
    if (fields.Access == kEditorCompare) {
        out.Mask = fields.Mask;
    }
    if (fields.Access != kRowRead) {
        out.Value = fields.Value;
    }
    return out;
}

StepEditorFields EditorFieldsFromRow(const InterruptStep& row, StepEditorFields fields) {
    fields.Access = row.Access == kRowCompare ? std::string(kEditorCompare) : row.Access;
    if (Contains(row.Size, "8")) {
        fields.Width = kEditorWidthTexts[0];
    } else if (Contains(row.Size, "16")) {
        fields.Width = kEditorWidthTexts[1];
    } else if (Contains(row.Size, "32")) {
        fields.Width = kEditorWidthTexts[2];
    }
    fields.Space = row.Space;
    fields.Offset = row.Offset;
    fields.Mask = row.Mask.empty() ? "0" : row.Mask;
    fields.Value = row.Value.empty() ? "0" : row.Value;
    return fields;
}

std::string StepTextFromRow(const InterruptStep& row) {
    std::string text;
    if (!row.Access.empty()) {
        text += row.Access.front();
    }
    text += row.Size.substr(0, row.Size.find_first_of("-bit"));
    text += ' ';
    text += row.Space;
    text += ' ';
    text += row.Offset;
    if (row.Access == kRowCompare) {
        text += ' ';
        text += row.Mask;
    }
    if (row.Access != kRowRead) {
        text += ' ';
        text += row.Value;
    }
    text += ';';
    return text;
}

std::string StepStringFromRows(const std::vector<InterruptStep>& rows) {
    std::string steps;
    for (const InterruptStep& row : rows) {
        steps += StepTextFromRow(row);
    }
    return steps;
}

std::vector<InterruptStep> RowsFromStepString(std::string_view steps, StepSeparators separators) {
    const std::string_view separatorChars = separators == StepSeparators::SpaceOrTab ? " \t" : " ";
    std::vector<InterruptStep> rows;
    std::size_t start = 0;
    for (std::size_t end = steps.find(';'); end != std::string_view::npos;
         end = steps.find(';', start)) {
        rows.push_back(RowFromStepText(steps.substr(start, end - start), separatorChars));
        start = end + 1;
    }
    return rows;
}

int CountSteps(std::string_view steps) {
    if (steps.empty()) {
        return 0;
    }
    return static_cast<int>(std::count(steps.begin() + 1, steps.end(), ';'));
}

bool HasCompareStep(std::string_view steps) {
    std::size_t start = 0;
    while (start < steps.size()) {
        const std::size_t end = steps.find(';', start);
        if (end == std::string_view::npos) {
            break;  // text after the last ";" is not a step
        }
        const std::string_view step = steps.substr(start, end - start);
        for (std::string_view prefix : {"C8 ", "C16 ", "C32 "}) {
            if (step.substr(0, prefix.size()) == prefix) {
                return true;
            }
        }
        start = end + 1;
    }
    return false;
}

}  // namespace tessaly
