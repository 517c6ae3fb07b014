#include "interrupts/StepEditorRules.h"

#include <algorithm>

namespace tessaly {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<EditorEnabling> EnablingForAccess(std::string_view access) {
    if (access == kEditorAccessTexts[0]) {
        return EditorEnabling{false, false};
    }
    if (access == kEditorAccessTexts[1]) {
        return EditorEnabling{true, true};
    }
    if (access == kEditorAccessTexts[2]) {
        return EditorEnabling{false, true};
    }
    return std::nullopt;
}

StepEditorFields NormaliseStepNumbers(StepEditorFields fields) {
    fields.Offset = FormatStepOffset(ReadStepNumber(fields.Offset));
    for (std::string* number : {&fields.Mask, &fields.Value}) {
        if (auto formatted = FormatStepNumber(ReadStepNumber(*number), fields.Width)) {
            *number = std::move(*formatted);
        }
    }
    return fields;
}

std::optional<std::size_t> FindEntryByPrefix(std::span<const std::string_view> entries,
                                             std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        if (entry.size() >= text.size() &&
            std::equal(text.begin(), text.end(), entry.begin(),
                       [](char a, char b) { return LowerAscii(a) == LowerAscii(b); })) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace tessaly
