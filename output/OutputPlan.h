#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"
#include "output/package/DriverPackage.h"

namespace tessaly {

class FileSystem;
class Prompter;
class Registry;
class SystemInfo;

// The paths of the files one generation writes; composed before every generation and refresh.
struct OutputFiles {
    std::string RtInf;       // real-time target INF: first 5 characters of the prefix + "_RT.inf"
    std::string Inf9x;       // prefix + "_9x.inf"
    std::string Nt4Inf;      // prefix + "_NT4.inf"
    std::string Nt5Inf;      // prefix + "_NT5.inf"
    std::string ModuleFile;  // prefix + ".ini"
    std::string WdmInf;      // prefix + "_WDM.inf"
};

// What the output files page keeps besides the prefix and directory of DeviceDescription.
struct OutputPlan {
    std::string
        BaseDirectory;  // folder the default directory is formed under; ends with a separator
    // The prefix last appended to BaseDirectory to form the directory, as it stands in that
    // path (in the file system's encoding).
    std::string DirectoryPrefix;
    OutputFiles Files;
    std::vector<std::string> HardwareIds;  // recorded by the last generation, in writing order
    // The files the last generation wrote whole; installation takes only one of these, never a
    // file an earlier run left behind.
    std::vector<std::string> WrittenFiles;
    // The driver package written after the last generation, which then installs it in the
    // seed INF's place; a generation forgets the one before.
    std::optional<DriverPackage> Package;
};

inline constexpr const char* kInitialPrefix = "prefix";

// What the output page says about a prefix that breaks the rules.
inline constexpr const char* kPrefixMessage =
    "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
    "characters.\nIn addition, the characters must be valid in the context of a filename.";

// The characters an instrument prefix may not hold: those a file name cannot, plus space, the
// square brackets, percent, semicolon, tab, line feed and equals sign.
inline constexpr char kPrefixForbiddenCharacters[] = "\\/:*?\"<>| []%;\t\n=";

// True for a byte a prefix may not hold: one of kPrefixForbiddenCharacters or any other control
// character (below 0x20, and 0x7F).
bool IsForbiddenPrefixCharacter(char c);

// "." and ".." name folders that are already there (the output folder's own, its parent), so
// they cannot be a prefix: the files would land outside a folder of their own.
bool IsDotName(std::string_view name);

// True when the prefix has at most 31 characters, none that a file name cannot hold, and is not
// "." or "..".
bool IsValidPrefix(const std::string& prefix);

// The prefix message, followed by a line naming `prefix`: for a prefix that reaches a
// generation without passing the output page, which would reset it.
std::string PrefixRefusal(std::string_view prefix);

// The paths below are composed with `files`' separator, and the prefix, which is text, enters
// them through files.PathFromText: OutputDirectory and the file paths are paths, whatever the
// prefix holds.

// Applies the prefix rules to device.InstrumentPrefix: on a violation shows the prefix message
// and resets it to "prefix". Then moves the directory along and composes the file names.
// Returns false when the prefix was reset.
bool ValidatePrefix(DeviceDescription& device, OutputPlan& plan, const FileSystem& files,
                    Prompter& prompter);

// Sets the base directory, the default OutputDirectory (base + current prefix) and the
// directory prefix ("prefix"), from the registry's "InstDir" or the platform's default base.
void ComputeDefaultOutputDirectory(DeviceDescription& device, OutputPlan& plan, Registry& registry,
                                   SystemInfo& system, const FileSystem& files);

// Moves OutputDirectory along with a changed prefix while it still has its default form.
void FollowPrefixInDirectory(DeviceDescription& device, OutputPlan& plan, const FileSystem& files);

// Composes the paths of every file a generation may write (PXI/PCI: five, USB: one) from the
// directory and prefix; the separator is inserted even when the directory already ends with one.
void ComposeFileNames(const DeviceDescription& device, OutputPlan& plan, const FileSystem& files);

// The shown file list: the PXI/PCI paths (real-time, 9x, NT4, XP/2000, module file) separated
// by CR LF, or the USB path.
std::string FileListText(const OutputPlan& plan, Bus bus);

}  // namespace tessaly
