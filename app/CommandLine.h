#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The command line as start-up understands it.
struct CWizardCommandLineInfo {
    bool SilentAutoInstall = false;
    bool filePresent = false;   // the parsed command is the open-file command
    std::string fileName;       // the first argument that is not a switch, as typed
    bool otherCommand = false;  // a standard switch chose another command than open-file
    // The text after "Function:" of the switch that picks a combination module's function
    // ("/Function:2"); checked by the run, not here.
    std::optional<std::string> function;

    // One call per argument: `isSwitch` when it began with "/" or "-" (already removed).
    void ParseParam(const std::string& param, bool isSwitch, bool isLast);
};

// Parses argv[1..] the way the application framework does.
CWizardCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

// What a terminal user may ask of the program instead of a run: "--help" ("-h", "/?") or
// "--version", anywhere on the command line; the first one wins.
enum class InfoRequest { None, Usage, Version };
InfoRequest FindInfoRequest(const std::vector<std::string>& arguments);

// The text "--help" prints: run modes, switches and exit status, then `systemNotes` (what
// differs between systems: environment, default folder, where messages go).
std::string UsageText(std::string_view version, std::string_view systemNotes);

}  // namespace tessaly
