// Feeds arbitrary bytes to the INI reader, looks up what it read, and loads them as a Module
// Description File.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "modulefile/IniFile.h"
#include "modulefile/ModuleLoader.h"
#include "tests/fakes/RecordingPrompter.h"

namespace {

using namespace tessaly;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsTrimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    return text.find_first_not_of(kSpace) == 0 && text.find_last_not_of(kSpace) == text.size() - 1;
}

// Every record the reader kept obeys the line rules, and the first of each name is found again.
void CheckDocument(IniFile& document) {
    const std::vector<IniSection>& sections = document.sections;
    for (std::size_t s = 0; s < std::min<std::size_t>(sections.size(), 24); ++s) {
        const IniSection& section = sections[s];
        Require(IsTrimmed(section.name) && section.name.size() <= kIniMaxLineLength);
        Require(IniSectionExists(document, section.name) == 1);
        // Sorting is stable, so in both kinds of document the first of a name comes first.
        const bool first = std::none_of(sections.begin(), sections.begin() + s, [&](auto& other) {
            return IniCompareNames(other.name, section.name) == 0;
        });
        for (std::size_t e = 0; e < std::min<std::size_t>(section.entries.size(), 24); ++e) {
            const IniEntry& entry = section.entries[e];
            Require(IsTrimmed(entry.key) && IsTrimmed(entry.value));
            Require(entry.key.size() + entry.value.size() < kIniMaxLineLength);
            std::string text;
            std::uint32_t number = 0;
            const int found = IniGetString(document, section.name, entry.key, text, 256);
            const int read = IniGetUnsigned(document, section.name, entry.key, number);
            Require(read == 1 || read == 0 || read == kIniNotUnsigned);
            Require(!first || (IniKeyExists(document, section.name, entry.key) == 1 && found == 1 &&
                               text.size() <= 255));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument sorted = IniCreate(true);
    IniDocument document = IniCreate(false);
    Require(IniLoadFromMemory(*sorted, bytes) == 0 && IniLoadFromMemory(*document, bytes) == 0);
    CheckDocument(*sorted);
    CheckDocument(*document);

    // The chooser's answer comes from the last byte: cancel, the first entry, the last entry, or
    // a position the list does not hold.
    std::vector<std::string> list;
    const bool hasModule = ListModuleFunctions(*document, "Module", list) == 0;
    const int last = static_cast<int>(list.size()) - 1;
    const std::optional<int> answers[] = {std::nullopt, 0, last, last + 1};
    testing::RecordingPrompter prompter;
    std::vector<std::vector<std::string>> asked;
    const auto choose = [&](const std::vector<std::string>& functions) {
        asked.push_back(functions);
        return answers[size > 0 ? data[size - 1] % 4 : 0];
    };
    DeviceDescription device;
    const int result = LoadModuleDescription(device, *document, prompter, choose);
    Require(asked.empty() || (asked.size() == 1 && asked[0] == list));
    // Only a file without a module is refused; a notice (no icon) may tell of a cut list.
    const auto refusals = std::count_if(prompter.messages.begin(), prompter.messages.end(),
                                        [](const auto& m) { return m.icon != MessageIcon::None; });
    Require(refusals == (hasModule ? 0 : 1));
    const DeviceDescription& d = device;
    Require(result == 0 || (result == 1 && d == DeviceDescription()));
    Require(std::max({d.ManufCode.size(), d.ModelCode.size(), d.ManufName.size(),
                      d.ModelName.size(), d.RemovalSteps.size()}) <= 255);
    Require(d.InstrumentPrefix.size() <= 31 && d.GeneratesInterrupts == !d.DetectSequences.empty());
    return 0;
}
