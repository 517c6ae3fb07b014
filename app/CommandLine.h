#pragma once

#include <functional>
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
    // False for a switch it does not know.
    bool ParseParam(const std::string& param, bool isSwitch);
};

// The build-script mode (--output): one member per option of the option table.
struct BatchOptions {
    std::optional<std::string> output;  // DIR; its presence selects the mode
    bool install = false;
    bool list = false;
    std::optional<std::string> usb;  // VID:PID
    std::optional<std::string> prefix;
    std::optional<std::string> manufacturer;
    std::optional<std::string> model;
    std::optional<std::string> interfaces;
    bool package = false;  // a driver package for 64-bit Windows beside each device's files
    std::optional<std::string> driverVersion;
    std::optional<std::string> signPfx;
    std::optional<std::string> signKey;
    std::optional<std::string> signCert;
};

// What a terminal user may ask of the program instead of a run: "--help" ("-h", "/?") or
// "--version"; the first one wins, even over a usage error.
enum class InfoRequest { None, Usage, Version };

struct CommandLine {
    CWizardCommandLineInfo wizard;  // the seed's modes: the file and its switches
    BatchOptions batch;
    std::vector<std::string> files;  // every argument that is no switch and no option's value
    InfoRequest info = InfoRequest::None;
    std::string error;  // the first usage error; empty when the line is understood

    bool batchMode() const { return batch.output.has_value(); }
};

// Reads argv[1..]. "--" ends the switches; an argument that starts with "/" is a file when
// `exists` says there is such a path or it holds a further "/" (an absolute path), a switch
// otherwise; a switch or option nobody knows is an error.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<bool(const std::string&)>& exists);

InfoRequest FindInfoRequest(const std::vector<std::string>& arguments);

// The position (0 = first) that "/Function:<n>" names, or nullopt when <n> is not a number from
// 1 up.
std::optional<int> FunctionPosition(const std::string& number);

// What a run says about a "/Function:<n>" whose <n> is no such number.
std::string FunctionSwitchError(const std::string& number);

// The text "--help" prints: run modes, switches, options and exit status, then `systemNotes`
// (what differs between systems: environment, default folder, where messages go).
std::string UsageText(std::string_view version, std::string_view systemNotes);

// What follows a usage error: the forms of the command line and where to read more.
std::string UsageHint();

}  // namespace tessaly
