#pragma once

#include <string>
#include <vector>

#include "device/DeviceDescription.h"

namespace tessaly {

// What makes an INF reader (the Windows setup API and those that follow it), or this wizard
// loading its own module description file, read a value other than the one written. The writers
// copy values unchanged, so these are warnings, not refusals.
enum class InfHazardKind {
    DoubleQuote,       // ends the quoted text the value stands in
    Percent,           // readers replace %token% by a string or a system folder, even inside quotes
    Comma,             // ends a field: a prefix in a model line, AddReg or CopyFiles list splits it
    LineBreak,         // ends the line: the rest of the value becomes a line of its own
    ControlCharacter,  // no text: a NUL ends the value, the others show as nothing or a box
    IdForm,            // an ID whose last four characters are not the number its text means
    NotReadBack,       // this wizard would load something else from its module description file
};

struct InfHazard {
    InfHazardKind kind;
    std::string value;               // the key the value carries: "ModelName", "IsThisMine0"...
    std::string text;                // the value as the files get it
    std::vector<std::string> files;  // names of the files it reaches, in writing order
    std::string effect;              // what a reader does with it
};

// The hazards of the files a generation for `bus` writes from `device`, in a fixed order: names,
// step strings, prefix, IDs, then what the module description file would not give back. Ordinary
// values give none.
std::vector<InfHazard> FindInfHazards(const DeviceDescription& device, Bus bus);

// One line for the user: the value, its text (control characters as \n, \r, \t or \xHH), the
// files and the effect. Latin-1 text, like the values.
std::string DescribeInfHazard(const InfHazard& hazard);

}  // namespace tessaly
