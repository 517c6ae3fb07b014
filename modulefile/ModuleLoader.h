#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"
#include "modulefile/IniFile.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"

namespace tessaly {

// Real Module Description Files hold a few KiB; a larger file is something else (a log, an
// image), and reading it would only cost time and memory.
inline constexpr std::size_t kMaxModuleFileBytes = std::size_t{4} << 20;

// Lets the user choose one function of a combination module from its entries
// ("Function0 (0x4021)"): the chosen position (0 = first), or nullopt when cancelled.
using FunctionChooser =
    std::function<std::optional<int>(const std::vector<std::string>& functions)>;

// Loads one function of a Module Description File into the device description: the PXI/PCI
// values, the interrupt steps and the prefix. Returns 0 when a function was loaded, 1 when
// nothing was (the description is then unchanged). A file that cannot be opened shows nothing;
// one that is not a regular file or is larger than kMaxModuleFileBytes, and one without a
// "Module" section, show their messages (which name a UTF-8 byte order mark at the start as the
// likely cause). A combination module takes the function at `position` (0 = first) when one is
// given, else asks `choose`.
int LoadModuleDescriptionFile(DeviceDescription& device, const std::string& path, FileSystem& files,
                              Prompter& prompter, const FunctionChooser& choose,
                              std::optional<int> position = std::nullopt);

// What LoadModuleDescriptionFile does once the file is read: lists the functions, takes the one
// at `position` or lets the user choose one, and reads it. Same results and messages; a
// position the list does not hold shows the functions there are.
int LoadModuleDescription(DeviceDescription& device, IniFile& document, Prompter& prompter,
                          const FunctionChooser& choose,
                          std::optional<int> position = std::nullopt);

// Appends an entry "<function section> (<registration>)" for every function that section
// `section` leads to, walking internal bridges to their devices. 1 when the section does not
// exist, else 0.
int ListModuleFunctions(IniFile& document, const std::string& section,
                        std::vector<std::string>& functions);

// The entries one a line and numbered from 1 as the chooser lists them ("1. Function1
// (0x1111)"); empty when there are none.
std::string NumberedFunctionList(const std::vector<std::string>& functions);

// Sets the device description from function section `section`: IDs, names, subsystem IDs,
// interrupt steps and the prefix. Returns the number of detection sequences the file's
// "NumDetectSequences" asks for; more than the loaded ones when the file's keys run out past the
// bound on empty sequences.
std::uint32_t ReadModuleFunction(DeviceDescription& device, IniFile& document,
                                 const std::string& section);

// Reads "FunctionList" and "DeviceList" values: up to 32 decimal numbers separated by commas,
// white space allowed before each number; reading stops at the first mismatch.
std::vector<int> ParseNumberList(std::string_view text);

// The prefix made from a registration or model name: the characters a prefix may not hold
// (those a file name cannot, control characters) removed, at most 31 characters kept. What is
// left of "..", say, stays "..": the generation refuses it, where an empty prefix would quietly
// name the files by their suffixes alone.
std::string CleanInstrumentPrefix(std::string_view source);

}  // namespace tessaly
