// Feeds arbitrary bytes to the INI reader, looks up what it read, and loads them as a Module
// Description File.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/WizardModel.h"
#include "modulefile/IniFile.h"
#include "modulefile/ModuleLoader.h"
#include "platform/Prompter.h"

namespace {

using namespace tessaly;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Answers the function chooser from one byte of the input: cancel, the first entry, the last
// entry, or a position the list does not hold.
class FuzzPrompter final : public Prompter {
public:
    explicit FuzzPrompter(unsigned char answer) : answer_(answer) {}

    void ShowMessage(const std::string&, MessageIcon) override {}
    bool AskYesNo(const std::string&) override { return false; }
    void Beep() override {}
    std::optional<int> ChooseFunction(const std::string& functionList) override {
        int entries = 0;
        for (const char c : functionList) {
            entries += c == ';' ? 1 : 0;
        }
        switch (answer_ % 4) {
            case 0:
                return std::nullopt;
            case 1:
                return 0;
            case 2:
                return entries - 1;
            default:
                return entries;
        }
    }
    std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&,
                                                const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }

private:
    unsigned char answer_;
};

bool IsTrimmed(std::string_view text) {
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    return !text.empty() && !space(text.front()) && !space(text.back());
}

// Every record the reader kept obeys its line rules and can be found again by its own name.
void CheckDocument(IniFile& document) {
    constexpr std::size_t kChecked = 24;
    for (std::size_t s = 0; s < document.sections.size() && s < kChecked; ++s) {
        const IniSection& section = document.sections[s];
        Require(IsTrimmed(section.name) && section.name.size() <= kIniMaxLineLength);
        Require(IniSectionExists(document, section.name) == 1);
        bool firstOfItsName = true;
        // Sorting is stable, so in both kinds of document the first of a name comes first.
        for (std::size_t before = 0; before < s; ++before) {
            if (IniCompareNames(document.sections[before].name, section.name) == 0) {
                firstOfItsName = false;
            }
        }
        for (std::size_t e = 0; e < section.entries.size() && e < kChecked; ++e) {
            const IniEntry& entry = section.entries[e];
            Require(IsTrimmed(entry.key) && IsTrimmed(entry.value));
            Require(entry.key.size() + entry.value.size() < kIniMaxLineLength);
            if (!firstOfItsName) {
                continue;
            }
            Require(IniKeyExists(document, section.name, entry.key) == 1);
            std::string text;
            Require(IniGetString(document, section.name, entry.key, text, 256) == 1);
            Require(text.size() <= 255);
            std::uint32_t number = 0;
            const int result = IniGetUnsigned(document, section.name, entry.key, number);
            Require(result == 1 || result == 0 || result == kIniNotUnsigned);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (const bool sorted : {false, true}) {
        IniDocument document = IniCreate(sorted);
        Require(IniLoadFromMemory(*document, bytes) == 0);
        CheckDocument(*document);
    }

    IniDocument document = IniCreate(false);
    Require(IniLoadFromMemory(*document, bytes) == 0);
    WizardModel model;
    FuzzPrompter prompter(size > 0 ? data[size - 1] : 0);
    const WizardModel before = model;
    const int result = LoadModuleDescription(model, *document, prompter);
    if (result == 0) {
        const DeviceDescription& d = model.device;
        Require(d.InstrumentPrefix.size() <= 31);
        Require(d.ManufCode.size() <= 255 && d.ModelCode.size() <= 255);
        Require(d.ManufName.size() <= 255 && d.ModelName.size() <= 255);
        Require(d.RemovalSteps.size() <= 255);
        Require(d.GeneratesInterrupts == !d.DetectSequences.empty());
        Require(model.plan.Bus == kBusPxi && model.RefreshOnActivate);
    } else {
        Require(result == 1 && model.device == before.device);
    }
    return 0;
}
