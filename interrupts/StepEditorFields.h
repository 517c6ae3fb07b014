#pragma once

#include <string>

namespace tessaly {

// The six texts of the step editor, what the prompter hands it and gets back; the initial
// values are those of a new step.
struct StepEditorFields {
    std::string Access = "Read/Compare";
    std::string Width = "Word (16-bit)";
    std::string Space = "CFG";
    std::string Offset = "0";
    std::string Mask = "0";
    std::string Value = "0";

    friend bool operator==(const StepEditorFields&, const StepEditorFields&) = default;
};

}  // namespace tessaly
