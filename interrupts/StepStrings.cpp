#include "interrupts/StepStrings.h"

#include <algorithm>

namespace tessaly {

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
