#pragma once

#include <string_view>

namespace tessaly {

// The number of ";" in a step string from its second character on.
int CountSteps(std::string_view steps);

// True when a step of the string begins with C8, C16 or C32 followed by a space.
bool HasCompareStep(std::string_view steps);

}  // namespace tessaly
