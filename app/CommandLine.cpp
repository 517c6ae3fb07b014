#include "app/CommandLine.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <variant>

#include "device/TextRules.h"
#include "output/package/PackageInf.h"

namespace tessaly {
namespace {

// One option of the build-script mode. A new option is a row here and a member of
// BatchOptions; its help line and its checks follow from the row.
struct OptionRow {
    std::string_view name;       // "--output"; also accepted as "--output=VALUE"
    std::string_view shortName;  // "-o", or empty
    std::string_view valueName;  // "DIR"; empty for an option without a value
    std::variant<bool BatchOptions::*, std::optional<std::string> BatchOptions::*> target;
    // The options it makes sense only with, separated by spaces.
    std::string_view needs;
    std::string_view help;
};

constexpr OptionRow kOptions[] = {
    {"--output", "-o", "DIR", &BatchOptions::output, "",
     "write each device's files into DIR/<prefix>/, missing\n"
     "folders created; no window, no question, messages on\n"
     "standard error"},
    {"--install", "", "", &BatchOptions::install, "--output",
     "also install each XP/2000 or WDM INF as\n"
     "/SilentAutoInstall does, and copy each module file into\n"
     "the resource manager's folder"},
    {"--list", "", "", &BatchOptions::list, "--output",
     "print the path of every file written into DIR on\n"
     "standard output, one a line"},
    {"--usb", "", "VID:PID", &BatchOptions::usb, "--output --prefix",
     "write the WDM INF of a USB device instead of module\n"
     "files; the IDs in decimal, 0x hexadecimal or octal"},
    {"--prefix", "", "P", &BatchOptions::prefix, "--usb",
     "the USB device's instrument prefix: at most 31\n"
     "characters, none that a file name cannot hold"},
    {"--manufacturer", "", "TEXT", &BatchOptions::manufacturer, "--usb",
     "the USB device's manufacturer name (default empty)"},
    {"--model", "", "TEXT", &BatchOptions::model, "--usb",
     "the USB device's model name (default empty)"},
    {"--interfaces", "", "N", &BatchOptions::interfaces, "--usb",
     "a compound USB device with N interfaces (2 to 99)"},
    {"--package", "", "", &BatchOptions::package, "--output",
     "also write a signed driver package for 64-bit Windows\n"
     "into DIR/<prefix>/package/; with --install, install it\n"
     "instead of the XP/2000 or WDM INF"},
    {"--driver-version", "", "a.b.c.d", &BatchOptions::driverVersion, "--package",
     "the package's driver version (default 1.0.0.0)"},
    {"--sign-pfx", "", "FILE", &BatchOptions::signPfx, "--package",
     "sign the package with the key and certificate of a\n"
     ".pfx file, its password in TESSALY_PFX_PASSWORD"},
    {"--sign-key", "", "KEY.pem", &BatchOptions::signKey, "--package --sign-cert",
     "sign the package with this private key (PEM or DER)"},
    {"--sign-cert", "", "CERT.pem", &BatchOptions::signCert, "--package --sign-key",
     "and this code-signing certificate (PEM or DER);\n"
     "without them or --sign-pfx, a certificate is made for\n"
     "each package and its public part written as <prefix>.cer"},
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (row.name == name || (!row.shortName.empty() && row.shortName == name)) {
            return &row;
        }
    }
    return nullptr;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string OptionForm(const OptionRow& row) {
    return std::string(row.name) + (row.valueName.empty() ? "" : " ") + std::string(row.valueName);
}

// What the mode of the line allows, checked once every argument is read.
std::string CheckModes(const CommandLine& line, const std::set<std::string_view>& given) {
    for (const OptionRow& row : kOptions) {
        if (!given.contains(row.name)) {
            continue;
        }
        for (const std::string_view needed : Words(row.needs)) {
            if (!given.contains(needed)) {
                return std::string(row.name) + " needs " + OptionForm(*FindOption(needed)) + ".";
            }
        }
    }
    const CWizardCommandLineInfo& wizard = line.wizard;
    const BatchOptions& batch = line.batch;
    if (!line.batchMode()) {
        return "";
    }
    if (batch.output->empty()) {
        return "--output needs a folder: --output DIR.";
    }
    if (wizard.SilentAutoInstall) {
        return "/SilentAutoInstall is not for --output; --install installs what it writes.";
    }
    if (wizard.otherCommand) {
        return "--output takes no other switch than /Function:<n>.";
    }
    if (batch.usb && !line.files.empty()) {
        return "--usb describes one USB device; the module file " + Quoted(line.files.front()) +
               " cannot go with it.";
    }
    if (batch.usb && wizard.function) {
        return "/Function:<n> picks a function of a module file; --usb has none.";
    }
    if (wizard.function && !FunctionPosition(*wizard.function)) {
        return FunctionSwitchError(*wizard.function);
    }
    if (batch.usb && std::count(batch.usb->begin(), batch.usb->end(), ':') != 1) {
        return "--usb needs the two IDs separated by a colon: --usb VID:PID, not " +
               Quoted(*batch.usb) + ".";
    }
    if (!batch.usb && line.files.empty()) {
        return "--output needs module files (FILE.ini ...) or --usb VID:PID.";
    }
    if (batch.signPfx && batch.signKey) {
        return "--sign-pfx and --sign-key with --sign-cert are two ways to give the package's "
               "certificate; give one.";
    }
    for (const auto& [option, file] :
         {std::pair{"--sign-pfx", &batch.signPfx}, std::pair{"--sign-key", &batch.signKey},
          std::pair{"--sign-cert", &batch.signCert}}) {
        if (*file && (*file)->empty()) {
            return std::string(option) + " needs a file: " + OptionForm(*FindOption(option)) + ".";
        }
    }
    if (batch.driverVersion && !IsValidDriverVersion(*batch.driverVersion)) {
        return "--driver-version needs four numbers up to 65535, a.b.c.d, not " +
               Quoted(*batch.driverVersion) + ".";
    }
    return "";
}

}  // namespace

bool CWizardCommandLineInfo::ParseParam(const std::string& param, bool isSwitch) {
    constexpr std::string_view kFunction = "Function";
    if (!isSwitch) {
        if (fileName.empty()) {
            fileName = param;
        }
        return true;
    }
    if (EqualsIgnoringCase(param, "SilentAutoInstall")) {
        SilentAutoInstall = true;
        return true;
    }
    if (EqualsIgnoringCase(param.substr(0, kFunction.size()), kFunction) &&
        (param.size() == kFunction.size() || param[kFunction.size()] == ':')) {
        function = param.substr(std::min(param.size(), kFunction.size() + 1));
        return true;
    }
    // The framework's standard switches choose a command other than opening the file.
    if (param == "p" || param == "pt" || param == "dde" || EqualsIgnoringCase(param, "Embedding") ||
        EqualsIgnoringCase(param, "Automation") || EqualsIgnoringCase(param, "Register") ||
        EqualsIgnoringCase(param, "Regserver") || EqualsIgnoringCase(param, "Unregister") ||
        EqualsIgnoringCase(param, "Unregserver")) {
        otherCommand = true;
        return true;
    }
    return false;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<bool(const std::string&)>& exists) {
    CommandLine line;
    std::set<std::string_view> given;
    const auto fail = [&line](const std::string& error) {
        if (line.error.empty()) {
            line.error = error;
        }
    };
    const auto file = [&line](const std::string& argument) {
        line.files.push_back(argument);
        line.wizard.ParseParam(argument, false);
    };
    bool switchesEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (switchesEnded) {
            file(argument);
            continue;
        }
        if (argument == "--") {
            switchesEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h" || argument == "/?" ||
            argument == "--version") {
            if (line.info == InfoRequest::None) {
                line.info = argument == "--version" ? InfoRequest::Version : InfoRequest::Usage;
            }
            continue;
        }
        const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
        if (argument.starts_with("--") || FindOption(argument)) {
            const OptionRow* row = FindOption(argument.starts_with("--") ? name : argument);
            if (!row) {
                fail("unknown option " + Quoted(name) + ".");
                continue;
            }
            const bool inlineValue = argument.starts_with("--") && name.size() < argument.size();
            if (!given.insert(row->name).second) {
                fail(std::string(row->name) + " is given twice.");
            }
            if (const auto flag = std::get_if<bool BatchOptions::*>(&row->target)) {
                if (inlineValue) {
                    fail(std::string(row->name) + " takes no value.");
                }
                line.batch.*(*flag) = true;
                continue;
            }
            std::optional<std::string> value;
            if (inlineValue) {
                value = argument.substr(name.size() + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                fail(std::string(row->name) + " needs a value: " + OptionForm(*row) + ".");
                continue;
            }
            line.batch.*std::get<std::optional<std::string> BatchOptions::*>(row->target) = value;
            continue;
        }
        // "/" introduces a switch as on Windows, but an absolute path ("/home/...") or a file at
        // the root ("/m.ini") is a file.
        const bool isSwitch = argument.size() > 1 &&
                              (argument[0] == '-' ||
                               (argument[0] == '/' && argument.find('/', 1) == std::string::npos &&
                                !exists(argument)));
        if (!isSwitch) {
            file(argument);
        } else if (!line.wizard.ParseParam(argument.substr(1), true)) {
            fail("unknown switch " + Quoted(argument) + ".");
        }
    }
    // Decided once every argument is read, so the switches may come after the file.
    line.wizard.filePresent = !line.wizard.fileName.empty() && !line.wizard.otherCommand;
    if (line.error.empty()) {
        line.error = CheckModes(line, given);
    }
    return line;
}

std::optional<int> FunctionPosition(const std::string& number) {
    const bool digits =
        !number.empty() && number.size() <= 9 &&
        std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(number) < 1) {
        return std::nullopt;
    }
    return std::stoi(number) - 1;
}

std::string FunctionSwitchError(const std::string& number) {
    return "The switch /Function:" + number + " needs the number of a function, 1 for the first.";
}

InfoRequest FindInfoRequest(const std::vector<std::string>& arguments) {
    return ParseCommandLine(arguments, [](const std::string&) { return false; }).info;
}

std::string UsageHint() {
    return R"(Usage: tessaly-wizard [FILE.ini [/SilentAutoInstall] [/Function:<n>]]
       tessaly-wizard --output DIR [--install] [--list] [PACKAGE] [/Function:<n>] FILE.ini...
       tessaly-wizard --output DIR [--install] [--list] [PACKAGE] --usb VID:PID --prefix P
                      [--manufacturer TEXT] [--model TEXT] [--interfaces N]
PACKAGE: --package [--driver-version a.b.c.d]
                   [--sign-pfx FILE | --sign-key KEY.pem --sign-cert CERT.pem]
A file whose name begins with "-" goes after "--". "tessaly-wizard --help" tells more.)";
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
  tessaly-wizard --output DIR [--install] [--list] [PACKAGE] [/Function:<n>] FILE.ini...
                                      for build scripts: write the files of every module
                                      file, every function of a combination module, each
                                      into DIR/<prefix>/
  tessaly-wizard --output DIR [--install] [--list] [PACKAGE] --usb VID:PID --prefix P
                 [--manufacturer TEXT] [--model TEXT] [--interfaces N]
                                      for build scripts: write DIR/P/P_WDM.inf for a USB
                                      device
  PACKAGE: --package [--driver-version a.b.c.d]
                     [--sign-pfx FILE | --sign-key KEY.pem --sign-cert CERT.pem]
                                      also a signed driver package for 64-bit Windows
  tessaly-wizard --help | --version

Switches (with "/" or "-", in any letter case, before or after the file):
  /SilentAutoInstall   after writing, install the INF and end; needs no display
  /Function:<n>        take function n (1 for the first) of a combination module
                       instead of asking; with --output, of every module file

Options for build scripts:
)";
    // Each row's help, its lines in the column of the switches' help.
    constexpr std::size_t kHelpColumn = 23;
    for (const OptionRow& row : kOptions) {
        std::string form = "  ";
        if (!row.shortName.empty()) {
            form += std::string(row.shortName) + ", ";
        }
        form += OptionForm(row);
        // A form that reaches the help's column stands on a line of its own.
        if (form.size() >= kHelpColumn) {
            text += form + "\n";
            form.clear();
        }
        for (std::size_t start = 0;;) {
            const std::size_t end = std::min(row.help.find('\n', start), row.help.size());
            form.resize(std::max(form.size() + 1, kHelpColumn), ' ');
            text += form + std::string(row.help.substr(start, end - start)) + "\n";
            form.clear();
            if (end == row.help.size()) {
                break;
            }
            start = end + 1;
        }
    }
    text += R"(  With --output, each module file stands alone: one that fails is named on standard
  error and the others are still written; a prefix already written in the same run
  is refused. Only --install writes outside DIR.

  With --package, DIR/<prefix>/package/ gets <prefix>.inf, its signed catalog
  <prefix>.cat and, for a made certificate, <prefix>.cer. A package is complete or
  absent: a key or certificate that cannot be used stops it (exit status 1), the
  device's other files are written all the same. SOURCE_DATE_EPOCH, when set, is the
  date of the package (the current time otherwise); TESSALY_PFX_PASSWORD is the
  password of the --sign-pfx file or of an encrypted --sign-key file. On Windows,
  installing a package with a made certificate first adds that certificate to the
  machine's "Root" and "TrustedPublisher" stores, saying its subject and thumbprint on
  standard error.

  --help, -h, /?       print this text and end
  --version            print the version and end
  --                   the arguments after it are files, even those beginning with "-"

An argument that starts with "/" is a file when it names one that exists or holds a
further "/". A switch or option the program does not know is an error.

Exit status: 0 when the run ended without a failure message (with --output: every module
and function written whole), 1 otherwise, 2 when the command line is wrong.
)";
    text += systemNotes;
    return text;
}

}  // namespace tessaly
