#include "modulefile/ModuleLoader.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

#include "device/TextRules.h"
#include "interrupts/StepStrings.h"
#include "output/OutputPlan.h"
#include "resources/StringTable.h"

namespace tessaly {
namespace {

// Texts are read as into a 256-character buffer.
constexpr std::size_t kTextSize = 256;
// Section names are at most 255 characters, so a longer formed name names nothing.
constexpr std::size_t kMaxSectionName = 255;
constexpr std::size_t kMaxListNumbers = 32;
constexpr std::size_t kMaxPrefixLength = 31;
// A real module lists a handful of functions and devices; a list may name the same bridge over
// and over, though, and each bridge multiplies the walk below it. The walk takes at most this
// many numbers from all lists together, so no file can make it run away.
constexpr int kMaxWalkNumbers = 4096;
// A short file may give a count above the keys it holds; the missing ones are empty sequences.
// Past this many, reading stops at the first missing key: each sequence needs a line of its own,
// so a count no file backs up cannot fill memory with millions of empty sequences, while a file
// that really holds more keys still loads whole.
constexpr std::uint32_t kDetectSequencesAlwaysRead = 1024;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kByteOrderMarkNote =
    "It begins with a UTF-8 byte order mark, so its first line is no section header. Save it as "
    "ANSI text, without a byte order mark.";

bool IsNoRegistration(std::string_view registration) {
    return registration.empty() || EqualsIgnoringCase(registration, "Simple") ||
           EqualsIgnoringCase(registration, "None");
}

std::string ReadText(IniFile& document, std::string_view section, std::string_view key) {
    std::string text;
    if (IniGetString(document, section, key, text, kTextSize) != 1) {
        text.clear();
    }
    return text;
}

bool SectionExists(const IniFile& document, const std::string& name) {
    return name.size() <= kMaxSectionName && IniSectionExists(document, name) == 1;
}

std::string UpToFirstSpace(std::string_view text) {
    return std::string(text.substr(0, text.find(' ')));
}

int ListFunctions(IniFile& document, const std::string& section,
                  std::vector<std::string>& functions, int& numbersLeft) {
    if (!SectionExists(document, section)) {
        return 1;
    }
    const bool isModule = EqualsIgnoringCase(section, "Module");
    std::string numbers;
    const bool listed = IniGetString(document, section, "FunctionList", numbers, kTextSize) == 1;
    for (const int f : listed ? ParseNumberList(numbers) : std::vector<int>{0}) {
        if (numbersLeft <= 0) {
            break;
        }
        --numbersLeft;
        std::string function = (isModule ? "" : section) + "Function" + std::to_string(f);
        if (!SectionExists(document, function)) {
            if (f != 0) {
                continue;
            }
            function = section;
        }
        const std::string type = ReadText(document, function, "Type");
        if (EqualsIgnoringCase(type, "InternalBridge")) {
            for (const int d : ParseNumberList(ReadText(document, function, "DeviceList"))) {
                if (numbersLeft <= 0) {
                    break;
                }
                --numbersLeft;
                const std::string base = isModule ? "" : function;
                std::string device = base + "Device" + std::to_string(d);
                if (!SectionExists(document, device)) {
                    device = base + "Function0Device" + std::to_string(d);
                }
                if (SectionExists(document, device)) {
                    ListFunctions(document, device, functions, numbersLeft);
                }
            }
            continue;
        }
        if (!type.empty() && !EqualsIgnoringCase(type, "Device")) {
            continue;
        }
        std::string registration = ReadText(document, function, "VISARegistration");
        if (IsNoRegistration(registration)) {
            registration = ReadText(document, function, "ModelCode");
        }
        functions.push_back(function + " (" + registration + ")");
    }
    return 0;
}

// The section named by entry `position` of the list, or nothing for a position the list does
// not hold.
std::optional<std::string> ChosenSection(const std::vector<std::string>& functions, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= functions.size()) {
        return std::nullopt;
    }
    return UpToFirstSpace(functions[static_cast<std::size_t>(position)]);
}

// The message for a function position the list does not hold.
std::string NoSuchFunction(const std::vector<std::string>& functions, int position) {
    const std::string lines = NumberedFunctionList(functions);
    return "This module description file has no function " + std::to_string(position + 1) +
           (lines.empty() ? "; it describes one function only."
                          : "; the functions that can be registered with VISA are:\n" + lines);
}

}  // namespace

std::vector<int> ParseNumberList(std::string_view text) {
    std::vector<int> numbers;
    std::size_t i = 0;
    while (numbers.size() < kMaxListNumbers) {
        if (!numbers.empty()) {
            if (i >= text.size() || text[i] != ',') {
                break;
            }
            ++i;
        }
        const NumberStart start = ScanNumberStart(text, i);
        i = start.at;
        const bool negative = start.negative;
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            break;
        }
        // An out-of-range number wraps to 32 bits; it names no section either way.
        std::uint32_t value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
        }
        if (negative) {
            value = 0u - value;
        }
        numbers.push_back(static_cast<int>(value));
    }
    return numbers;
}

std::string CleanInstrumentPrefix(std::string_view source) {
    std::string prefix;
    for (const char c : source) {
        if (!IsForbiddenPrefixCharacter(c)) {
            prefix.push_back(c);
        }
    }
    if (prefix.size() > kMaxPrefixLength) {
        prefix.resize(kMaxPrefixLength);
    }
    return prefix;
}

int ListModuleFunctions(IniFile& document, const std::string& section,
                        std::vector<std::string>& functions) {
    int numbersLeft = kMaxWalkNumbers;
    return ListFunctions(document, section, functions, numbersLeft);
}

std::string NumberedFunctionList(const std::vector<std::string>& functions) {
    std::string lines;
    for (std::size_t i = 0; i < functions.size(); ++i) {
        lines += (i > 0 ? "\n" : "") + std::to_string(i + 1) + ". " + functions[i];
    }
    return lines;
}

std::uint32_t ReadModuleFunction(DeviceDescription& device, IniFile& document,
                                 const std::string& section) {
    const std::string registration = ReadText(document, section, "VISARegistration");

    device.ModelCode = ReadText(document, section, "ModelCode");
    device.ManufCode = ReadText(document, section, "ManufCode");
    device.ModelName = IniKeyExists(document, registration, "ModelName") == 1
                           ? ReadText(document, registration, "ModelName")
                           : ReadText(document, "Module", "ModuleName");
    device.ManufName = IniKeyExists(document, registration, "ManufName") == 1
                           ? ReadText(document, registration, "ManufName")
                           : ReadText(document, "Module", "ModuleVendor");

    if (IniKeyExists(document, section, "SubsystemModelCode") == 1) {
        device.SubsystemModelCode = ReadText(document, section, "SubsystemModelCode");
        device.SubsystemManufCode = ReadText(document, section, "SubsystemManufCode");
        device.UsesSubsystem = true;
    } else {
        device.UsesSubsystem = false;
        device.SubsystemModelCode.clear();
        device.SubsystemManufCode.clear();
    }

    std::uint32_t count = 0;
    if (IniGetUnsigned(document, registration, "NumDetectSequences", count) != 1) {
        count = 0;
    }
    device.DetectSequences.clear();
    device.GeneratesInterrupts = count != 0;
    device.RemovalSteps.clear();
    if (count != 0) {
        // One buffer for every key name: a file may ask for a few hundred thousand.
        const std::string_view stem = "InterruptDetect";
        std::string key(stem);
        for (std::uint32_t i = 0; i < count; ++i) {
            key.resize(stem.size());
            key += std::to_string(i);
            std::string steps;
            const int found = IniGetString(document, registration, key, steps, kTextSize);
            if (found != 1 && i >= kDetectSequencesAlwaysRead) {
                break;
            }
            const int stepCount = CountSteps(steps);
            device.DetectSequences.push_back(
                DetectSequence{static_cast<std::int32_t>(i), std::move(steps), stepCount});
        }
        device.RemovalSteps = ReadText(document, registration, "InterruptQuiesce");
    }

    device.InstrumentPrefix =
        CleanInstrumentPrefix(IsNoRegistration(registration) ? device.ModelName : registration);
    return count;
}

int LoadModuleDescription(DeviceDescription& device, IniFile& document, Prompter& prompter,
                          const FunctionChooser& choose, std::optional<int> position) {
    try {
        std::vector<std::string> functions;
        if (ListModuleFunctions(document, "Module", functions) == 1) {
            prompter.ShowMessage(std::string(strings::kNotModuleDescriptionFile),
                                 MessageIcon::Stop);
            return 1;
        }
        // A list without entries still loads one function, the module itself.
        const auto entries = static_cast<int>(std::max<std::size_t>(functions.size(), 1));
        if (position && (*position < 0 || *position >= entries)) {
            prompter.ShowMessage(NoSuchFunction(functions, *position), MessageIcon::Stop);
            return 1;
        }
        std::string section;
        if (functions.size() <= 1) {
            section = functions.empty() ? std::string() : UpToFirstSpace(functions.front());
        } else {
            const std::optional<int> choice = position ? position : choose(functions);
            if (!choice) {
                return 1;
            }
            const std::optional<std::string> chosen = ChosenSection(functions, *choice);
            if (!chosen) {
                return 1;
            }
            section = *chosen;
        }
        // Read into a copy, so that the description is left whole should memory run out midway.
        DeviceDescription loaded = device;
        const std::uint32_t asked = ReadModuleFunction(loaded, document, section);
        const std::size_t read = loaded.DetectSequences.size();
        device = std::move(loaded);
        if (asked > read) {
            // Not a failure: what the file holds is loaded, but the user should know.
            prompter.ShowMessage("The module description file asks for " + std::to_string(asked) +
                                     " interrupt detection sequences (NumDetectSequences) but "
                                     "holds no InterruptDetect" +
                                     std::to_string(read) + "; " + std::to_string(read) +
                                     " are loaded.",
                                 MessageIcon::None);
        }
        return 0;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

int LoadModuleDescriptionFile(DeviceDescription& device, const std::string& path, FileSystem& files,
                              Prompter& prompter, const FunctionChooser& choose,
                              std::optional<int> position) {
    // Bounded and never waiting: a pipe, a device or a huge file fails at once.
    const FileContents contents = files.ReadFile(path, kMaxModuleFileBytes);
    const std::string cannotBe = "The file \"" + path + "\" cannot be a module description file: ";
    switch (contents.error) {
        case ReadError::None:
            break;
        case ReadError::NotRegularFile:
            prompter.ShowMessage(cannotBe + "it is not a regular file.", MessageIcon::Stop);
            return 1;
        case ReadError::TooLarge:
            prompter.ShowMessage(cannotBe + "it holds more than " +
                                     std::to_string(kMaxModuleFileBytes >> 20) + " MiB.",
                                 MessageIcon::Stop);
            return 1;
        case ReadError::CannotOpen:
        case ReadError::ReadFailed:
            return 1;
    }
    IniDocument document = IniCreate(false);
    if (!document) {
        return 1;
    }
    if (IniLoadFromMemory(*document, contents.bytes) < 0) {
        IniDestroy(std::move(document));
        return 1;
    }
    // An editor's byte order mark makes the first line no section header; when that was the
    // module's, the user needs to know why the file is refused.
    if (contents.bytes.starts_with(kUtf8ByteOrderMark) &&
        IniSectionExists(*document, "Module") == 0) {
        prompter.ShowMessage(
            std::string(strings::kNotModuleDescriptionFile) + "\n" + kByteOrderMarkNote,
            MessageIcon::Stop);
        IniDestroy(std::move(document));
        return 1;
    }
    const int result = LoadModuleDescription(device, *document, prompter, choose, position);
    IniDestroy(std::move(document));
    return result;
}

}  // namespace tessaly
