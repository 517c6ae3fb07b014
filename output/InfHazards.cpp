#include "output/InfHazards.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "device/IdText.h"
#include "device/TextRules.h"
#include "modulefile/IniFile.h"
#include "modulefile/ModuleLoader.h"
#include "output/ModuleFileWriter.h"
#include "output/PxiInfParts.h"

namespace tessaly {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// What a reader takes from `text` written between double quotes: a quote closes the quoting, a
// doubled quote inside it stands for one, and outside it a comma or semicolon ends the field.
std::string AsReadInQuotes(std::string_view text) {
    const std::string written = "\"" + std::string(text) + "\"";
    std::string read;
    bool quoted = false;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (quoted && c == '"' && i + 1 < written.size() && written[i + 1] == '"') {
            read.push_back('"');
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == ';')) {
            break;
        } else {
            read.push_back(c);
        }
    }
    return read;
}

// The %token% pieces of `text`, in order, separated by commas.
std::string PercentTokens(std::string_view text) {
    std::string tokens;
    for (auto open = text.find('%'); open != std::string_view::npos;) {
        const auto close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        tokens += (tokens.empty() ? "" : ", ") + std::string(text.substr(open, close - open + 1));
        open = text.find('%', close + 1);
    }
    return tokens;
}

std::string QuoteEffect(std::string_view text) {
    return "a double quote ends the quoted text: readers take it as \"" + AsReadInQuotes(text) +
           "\"";
}

std::string PercentEffect(std::string_view text) {
    const std::string tokens = PercentTokens(text);
    if (tokens.empty()) {
        return "a percent sign starts a %token% for readers, which substitute or drop it";
    }
    const bool several = tokens.find(',') != std::string::npos;
    return "readers replace " + tokens +
           (several ? " by the strings or system folders they name"
                    : " by the string or system folder it names");
}

constexpr const char* kLineBreakEffect =
    "a line break ends the line: readers take the rest of the value as a line of its own";
constexpr const char* kControlEffect =
    "a control character is no text: readers end the value at a NUL, and Windows shows the "
    "others as nothing or as boxes";

bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\r' && c != '\n') || byte == 0x7F;
}

bool IsNoRegistration(std::string_view text) {
    return text.empty() || EqualsIgnoringCase(text, "Simple") || EqualsIgnoringCase(text, "None");
}

// The file names a generation for the bus gives, from the prefix.
struct FileNames {
    std::vector<std::string> infs;      // every INF file, in writing order
    std::vector<std::string> withIni;   // the same and the module description file
    std::vector<std::string> sections;  // the INF files that name sections after the prefix
};

FileNames NamesFor(const std::string& prefix, Bus bus) {
    if (bus == Bus::Usb) {
        const std::vector<std::string> wdm = {prefix + "_WDM.inf"};
        return {wdm, wdm, wdm};
    }
    const std::string rt = prefix.substr(0, 5) + "_RT.inf";
    const std::string nt5 = prefix + "_NT5.inf";
    std::vector<std::string> infs = {rt, prefix + "_9x.inf", prefix + "_NT4.inf", nt5};
    std::vector<std::string> withIni = infs;
    withIni.push_back(prefix + ".ini");
    // The NT4 file uses the prefix only in a quoted string and an unreferenced key.
    return {infs, withIni, {rt, prefix + "_9x.inf", nt5}};
}

class HazardList {
public:
    HazardList(const DeviceDescription& device, Bus bus)
        : device_(device), bus_(bus), names_(NamesFor(device.InstrumentPrefix, bus)) {}

    // A value the files carry between double quotes; `inIni` when the module description file
    // writes it too (a line break splits that file as well).
    void Quoted(const std::string& value, const std::string& text, bool inIni) {
        if (text.find('"') != std::string::npos) {
            Add(InfHazardKind::DoubleQuote, value, text, names_.infs, QuoteEffect(text));
        }
        if (text.find('%') != std::string::npos) {
            Add(InfHazardKind::Percent, value, text, names_.infs, PercentEffect(text));
        }
        if (text.find_first_of("\r\n") != std::string::npos) {
            Add(InfHazardKind::LineBreak, value, text, inIni ? names_.withIni : names_.infs,
                kLineBreakEffect);
        }
        if (std::any_of(text.begin(), text.end(), IsControlCharacter)) {
            Add(InfHazardKind::ControlCharacter, value, text, inIni ? names_.withIni : names_.infs,
                kControlEffect);
        }
    }

    // What the module description file would not give back to this wizard's reader: a line
    // longer than it keeps, an escape it decodes, a prefix it does not take for a registration,
    // a file larger than it loads.
    void ModuleFile() {
        const DeviceDescription& d = device_;
        const std::vector<std::string> ini = {names_.withIni.back()};
        const std::string file = RenderModuleDescriptionFile(d);
        if (file.size() > kMaxModuleFileBytes) {
            Add(InfHazardKind::NotReadBack, "DetectSequences",
                std::to_string(d.DetectSequences.size()) + " sequences", ini,
                "the file holds " + std::to_string(file.size()) + " bytes, more than the " +
                    std::to_string(kMaxModuleFileBytes >> 20) +
                    " MiB this wizard loads: it refuses the file");
        }
        // The values of the file's lines, by the start the writer gives each line.
        std::vector<std::tuple<std::string, std::string, const std::string*>> lines = {
            {"ModuleName = ", "ModelName", &d.ModelName},
            {"ModuleVendor = ", "ManufName", &d.ManufName}};
        if (d.GeneratesInterrupts) {
            for (std::size_t i = 0; i < d.DetectSequences.size(); ++i) {
                lines.emplace_back("InterruptDetect" + std::to_string(i) + " = ",
                                   "IsThisMine" + std::to_string(i), &d.DetectSequences[i].Steps);
            }
            lines.emplace_back("InterruptQuiesce = ", "HowToSquelch", &d.RemovalSteps);
        }
        for (std::size_t start = 0, next = 0; start < file.size(); start = next + 2) {
            next = std::min(file.find("\r\n", start), file.size());
            const std::string_view line = std::string_view(file).substr(start, next - start);
            if (line.size() <= kIniMaxLineLength) {
                continue;
            }
            for (const auto& [lineStart, value, text] : lines) {
                if (line.starts_with(lineStart)) {
                    Add(InfHazardKind::NotReadBack, value, *text, ini,
                        "its line holds " + std::to_string(line.size()) +
                            " characters, and this wizard reads back the first " +
                            std::to_string(kIniMaxLineLength) +
                            ": loading the file again cuts the value");
                }
            }
        }
        for (const auto& [lineStart, value, text] : lines) {
            if (text->find('\\') != std::string::npos) {
                Add(InfHazardKind::NotReadBack, value, *text, ini,
                    "this wizard reads a backslash in a module description file as the start of "
                    "an escape (\\n, \\t, \\xHH): loading the file again changes the value");
            }
        }
        if (d.GeneratesInterrupts && IsNoRegistration(d.InstrumentPrefix)) {
            Add(InfHazardKind::NotReadBack, "InstrumentPrefix", d.InstrumentPrefix, ini,
                d.InstrumentPrefix.empty()
                    ? "the file's VISARegistration line is empty, which this wizard reads as no "
                      "registration: loading the file again loses the interrupt steps"
                    : "this wizard reads that VISARegistration as no registration: loading the "
                      "file again takes the prefix from the model name");
        }
    }

    void Prefix() {
        const std::string& prefix = device_.InstrumentPrefix;
        if (prefix.find(',') == std::string::npos) {
            return;
        }
        Add(InfHazardKind::Comma, "InstrumentPrefix", prefix, names_.sections,
            bus_ == Bus::Usb ? "a comma ends a field: the CopyFiles list names two files, and "
                               "the copy fails"
                             : "a comma ends a field: model lines and AddReg and CopyFiles lists "
                               "are cut at it, so the device's registry lines are lost");
    }

    // An ID the writers take the last four characters of; `vendor` for one that may not be
    // zero. `hardwareId` is what the files name the device by.
    void Id(const std::string& value, const std::string& text, bool vendor,
            const std::string& hardwareId) {
        const std::string_view digits = IdDigits(text);
        const bool fourHexDigits = digits.size() == 4 && IsHexDigit(digits[0]) &&
                                   IsHexDigit(digits[1]) && IsHexDigit(digits[2]) &&
                                   IsHexDigit(digits[3]);
        const std::vector<std::string>& files = bus_ == Bus::Usb ? names_.infs : names_.withIni;
        if (!fourHexDigits) {
            Add(InfHazardKind::IdForm, value, text, files,
                "the files write \"" + std::string(digits) +
                    "\" where four hexadecimal digits belong (" + hardwareId +
                    "): no device matches it");
            return;
        }
        const auto written =
            static_cast<std::int32_t>(std::stoul(std::string(digits), nullptr, 16));
        const std::int32_t meant = ParseIdText(text);
        if (meant != written) {
            const std::string meaning = meant >= 0 && meant <= 0xFFFF
                                            ? NormalizeIdText(text)
                                            : "a number beyond four hexadecimal digits";
            Add(InfHazardKind::IdForm, value, text, files,
                "the files write " + std::string(digits) + " (" + hardwareId +
                    "), but the text means " + meaning + ": the files name another device");
        } else if (vendor && written == 0) {
            Add(InfHazardKind::IdForm, value, text, files,
                "a vendor ID of zero (" + hardwareId + "): no device matches it");
        }
    }

    std::vector<InfHazard> Take() { return std::move(hazards_); }

private:
    void Add(InfHazardKind kind, const std::string& value, const std::string& text,
             const std::vector<std::string>& files, std::string effect) {
        hazards_.push_back({kind, value, text, files, std::move(effect)});
    }

    const DeviceDescription& device_;
    Bus bus_;
    FileNames names_;
    std::vector<InfHazard> hazards_;
};

}  // namespace

std::vector<InfHazard> FindInfHazards(const DeviceDescription& device, Bus bus) {
    HazardList list(device, bus);
    if (bus == Bus::Usb) {
        list.Quoted("UsbManufName", device.UsbManufName, false);
        list.Quoted("UsbModelName", device.UsbModelName, false);
        list.Prefix();
        const std::string hardwareId = "USB\\VID_" + std::string(IdDigits(device.UsbVendorId)) +
                                       "&PID_" + std::string(IdDigits(device.UsbProductId));
        list.Id("UsbVendorId", device.UsbVendorId, true, hardwareId);
        list.Id("UsbProductId", device.UsbProductId, false, hardwareId);
        return list.Take();
    }
    list.Quoted("ManufName", device.ManufName, true);
    list.Quoted("ModelName", device.ModelName, true);
    // The module description file carries the steps only for a device with interrupts.
    list.Quoted("HowToSquelch", device.RemovalSteps, device.GeneratesInterrupts);
    for (std::size_t i = 0; i < device.DetectSequences.size(); ++i) {
        list.Quoted("IsThisMine" + std::to_string(i), device.DetectSequences[i].Steps,
                    device.GeneratesInterrupts);
    }
    list.Prefix();
    const std::string hardwareId = pxi_inf::DevicePciId(device);
    list.Id("ManufCode", device.ManufCode, true, hardwareId);
    list.Id("ModelCode", device.ModelCode, false, hardwareId);
    if (device.UsesSubsystem) {
        list.Id("SubsystemManufCode", device.SubsystemManufCode, true, hardwareId);
        list.Id("SubsystemModelCode", device.SubsystemModelCode, false, hardwareId);
    }
    list.ModuleFile();
    return list.Take();
}

std::string DescribeInfHazard(const InfHazard& hazard) {
    std::string files;
    for (const std::string& file : hazard.files) {
        files += (files.empty() ? "" : ", ") + file;
    }
    return hazard.value + " \"" + ShowControlCharacters(hazard.text) + "\" in " + files + ": " +
           hazard.effect + ".";
}

}  // namespace tessaly
