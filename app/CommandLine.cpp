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

}  // namespace tessaly
