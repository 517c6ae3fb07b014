#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/WizardModel.h"
#include "modulefile/IniFile.h"
#include "platform/Prompter.h"

namespace tessaly {

// Loads one function of a Module Description File into the model: the PXI/PCI values, the
// interrupt steps and the prefix; sets the plan's bus to PXI/PCI and RefreshOnActivate.
// Returns 0 when a function was loaded, 1 when nothing was (the model is then unchanged).
// A file without a "Module" section shows its message; a combination module asks the prompter
// to choose a function.
int LoadModuleDescriptionFile(WizardModel& model, const std::string& path, Prompter& prompter);

// What LoadModuleDescriptionFile does once the file is read: lists the functions, lets the
// user choose one and reads it. Same results and messages.
int LoadModuleDescription(WizardModel& model, IniFile& document, Prompter& prompter);

// Appends the entries "<function section> (<registration>);" of every function that section
// `section` leads to, walking internal bridges to their devices. 1 when the section does not
// exist, else 0.
int ListModuleFunctions(IniFile& document, const std::string& section, std::string& functionList);

// Sets the model from function section `section`: IDs, names, subsystem IDs, interrupt steps,
// the prefix, the plan's bus and RefreshOnActivate.
void ReadModuleFunction(WizardModel& model, IniFile& document, const std::string& section);

// Reads "FunctionList" and "DeviceList" values: up to 32 decimal numbers separated by commas,
// white space allowed before each number; reading stops at the first mismatch.
std::vector<int> ParseNumberList(std::string_view text);

// The prefix made from a registration or model name: the characters a file name cannot hold
// removed, at most 31 characters kept.
std::string CleanInstrumentPrefix(std::string_view source);

}  // namespace tessaly
