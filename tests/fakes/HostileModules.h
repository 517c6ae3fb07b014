#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "modulefile/ModuleLoader.h"

namespace tessaly::testing {

// Module description files of the largest size the loader reads, each made of what costs a
// lookup most: many keys in the looked-up section, long chains of numbered keys, many sections.
struct HostileModule {
    const char* name;
    std::string bytes;
    std::string expected;     // what a load gives, as ModuleSummary shows it
    std::string notice = "";  // the one message a load shows, "" when none
};

// The loaded values a hostile module aims at, in one line.
inline std::string ModuleSummary(const DeviceDescription& d) {
    std::string steps;
    if (!d.DetectSequences.empty()) {
        steps = d.DetectSequences.front().Steps + ".." + d.DetectSequences.back().Steps;
    }
    return d.ModelCode + "|" + d.ModelName.substr(0, 12) + "|" +
           std::to_string(d.ModelName.size()) + "|" + d.InstrumentPrefix + "|" +
           std::to_string(d.DetectSequences.size()) + "|" + steps;
}

// The counter of a numbered key, as the reader forms it ("%04d").
inline std::string NumberedSuffix(std::size_t counter) {
    char text[24];
    std::snprintf(text, sizeof text, "%04zu", counter);
    return text;
}

// Appends lines made by `line(i)` for i = 0, 1, ... while they fit below `size`; returns the
// count.
template <typename Line>
std::size_t FillTo(std::string& text, std::size_t size, Line line) {
    std::size_t i = 0;
    for (std::string next = line(i); text.size() + next.size() <= size; next = line(++i)) {
        text += next;
    }
    return i;
}

inline std::vector<HostileModule> HostileModules(std::size_t size = kMaxModuleFileBytes) {
    std::vector<HostileModule> modules;
    // Every index up to the end of the file is asked for, as are the numbered keys of the one
    // past it.
    {
        std::string text =
            "[Module]\nModelCode=0x1\nVISARegistration=Reg\n[Reg]\n"
            "NumDetectSequences=4294967295\n";
        const std::size_t count = FillTo(text, size, [](std::size_t i) {
            return "InterruptDetect" + std::to_string(i) + "=R" + std::to_string(i % 10) + ";\n";
        });
        const std::string last = "R" + std::to_string((count - 1) % 10) + ";";
        const std::string n = std::to_string(count);
        modules.push_back({"detect sequences", std::move(text), "0x1||0|Reg|" + n + "|R0;.." + last,
                           "The module description file asks for 4294967295 interrupt detection "
                           "sequences (NumDetectSequences) but holds no InterruptDetect" +
                               n + "; " + n + " are loaded."});
    }
    // The model name as a chain of numbered keys, the only one the loader joins.
    {
        std::string text = "[Module]\nModelCode=0x2\n";
        FillTo(text, size,
               [](std::size_t i) { return "ModuleName Line" + NumberedSuffix(i + 1) + "=ab\n"; });
        // The first 255 characters make the name, its first 31 the prefix.
        modules.push_back({"numbered keys", std::move(text),
                           "0x2|abababababab|255|abababababababababababababababa|0|"});
    }
    // The keys looked up come last, after many others and after an earlier key of each name in
    // a section hidden by an earlier one of the same name.
    {
        std::string text = "[Module]\n";
        FillTo(text, size - 128, [](std::size_t i) { return "K" + std::to_string(i) + "=1\n"; });
        text += "ModelCode=0x3\nModuleName=Last\nModelCode=0x4\n[module]\nModelCode=0x9\n";
        modules.push_back({"distinct keys", std::move(text), "0x3|Last|4|Last|0|"});
    }
    // A walk over sections formed from a function list, among many other sections.
    {
        std::string text = "[Module]\nFunctionList=7\n";
        FillTo(text, size - 128,
               [](std::size_t i) { return "[S" + std::to_string(i) + "]\nType=x\n"; });
        text += "[Function7]\nModelCode=0x5\n[function7]\nModelCode=0x6\n";
        modules.push_back({"sections", std::move(text), "0x5||0||0|"});
    }
    return modules;
}

}  // namespace tessaly::testing
