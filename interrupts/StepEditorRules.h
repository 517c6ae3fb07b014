#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "interrupts/StepStrings.h"

namespace tessaly {

// Which of the step editor's mask and value boxes an access type leaves enabled.
struct EditorEnabling {
    bool mask = false;
    bool value = false;

    friend bool operator==(const EditorEnabling&, const EditorEnabling&) = default;
};

// "Read": neither, "Read/Compare": both, "Write": the value only. Any other text leaves the
// boxes as they are (nullopt).
std::optional<EditorEnabling> EnablingForAccess(std::string_view access);

// The offset as 0x%08X whatever the width; mask and value read and written in the format of
// the width text, cut to it (kept as they are when the text names no width).
StepEditorFields NormaliseStepNumbers(StepEditorFields fields);

// The first entry that begins with `text`, compared without regard to case; nullopt when none
// does. The editor's lists select this entry for a text.
std::optional<std::size_t> FindEntryByPrefix(std::span<const std::string_view> entries,
                                             std::string_view text);

}  // namespace tessaly
