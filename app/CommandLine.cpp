#include "app/CommandLine.h"

#include <algorithm>
#include <string_view>

#include "device/TextRules.h"

namespace tessaly {

void CWizardCommandLineInfo::ParseParam(const std::string& param, bool isSwitch, bool isLast) {
    constexpr std::string_view kFunction = "Function";
    if (isSwitch && EqualsIgnoringCase(param, "SilentAutoInstall")) {
        SilentAutoInstall = true;
    } else if (isSwitch && EqualsIgnoringCase(param.substr(0, kFunction.size()), kFunction) &&
               (param.size() == kFunction.size() || param[kFunction.size()] == ':')) {
        function = param.substr(std::min(param.size(), kFunction.size() + 1));
    } else if (isSwitch) {
        // The framework's standard switches choose a command other than opening the file.
        if (param == "p" || param == "pt" || param == "dde" ||
            EqualsIgnoringCase(param, "Embedding") || EqualsIgnoringCase(param, "Automation") ||
            EqualsIgnoringCase(param, "Register") || EqualsIgnoringCase(param, "Regserver") ||
            EqualsIgnoringCase(param, "Unregister") || EqualsIgnoringCase(param, "Unregserver")) {
            otherCommand = true;
        }
    } else if (fileName.empty()) {
        fileName = param;
    }
    // Decided at the last argument whatever it is, so the switch may come after the file.
    if (isLast) {
        filePresent = !fileName.empty() && !otherCommand;
    }
}

CWizardCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments) {
    CWizardCommandLineInfo info;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "/" introduces a switch as on Windows, but an absolute path ("/home/...") is a file.
        const bool isSwitch = argument.size() > 1 &&
                              (argument[0] == '-' ||
                               (argument[0] == '/' && argument.find('/', 1) == std::string::npos));
        info.ParseParam(isSwitch ? argument.substr(1) : argument, isSwitch,
                        i + 1 == arguments.size());
    }
    return info;
}

InfoRequest FindInfoRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            return InfoRequest::Usage;
        }
        if (argument == "--version") {
            return InfoRequest::Version;
        }
    }
    return InfoRequest::None;
}

std::string UsageText(std::string_view version, std::string_view systemNotes) {
    std::string text = "Tessaly Wizard ";
    text += version;
    text += R"( - writes the Windows setup information files (.INF) with which the
ZEL-VISA I/O library claims a PXI/PCI or USB instrument.

Usage:
  tessaly-wizard                      the wizard, from the hardware bus page
  tessaly-wizard FILE.ini             write all PXI/PCI files of the module description
                                      file into the default output folder, then open
                                      the wizard at the installation options
  tessaly-wizard FILE.ini /SilentAutoInstall
                                      write the files and install the Windows XP/2000
                                      INF without showing a window
  tessaly-wizard --help | --version

Switches (with "/" or "-", in any letter case, before or after the file):
  /SilentAutoInstall   after writing, install the INF and end; needs no display
  /Function:<n>        take function n (1 for the first) of a combination module
                       instead of asking

  --help, -h, /?       print this text and end
  --version            print the version and end

Exit status: 0 when the run ended without a failure message, 1 otherwise.
)";
    text += systemNotes;
    return text;
}

}  // namespace tessaly
