#include "output/OutputPlan.h"

#include <algorithm>

#include "device/TextRules.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace tessaly {
namespace {

constexpr std::size_t kMaxPrefixLength = 31;

}  // namespace

bool IsForbiddenPrefixCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F ||
           std::string_view(kPrefixForbiddenCharacters).find(c) != std::string_view::npos;
}

bool IsDotName(std::string_view name) {
    return name == "." || name == "..";
}

bool IsValidPrefix(const std::string& prefix) {
    return prefix.size() <= kMaxPrefixLength && !IsDotName(prefix) &&
           std::none_of(prefix.begin(), prefix.end(), IsForbiddenPrefixCharacter);
}

std::string PrefixRefusal(std::string_view prefix) {
    return std::string(kPrefixMessage) + "\nThe prefix \"" + ShowControlCharacters(prefix) +
           "\" does not keep these rules; no file was written.";
}

bool ValidatePrefix(DeviceDescription& device, OutputPlan& plan, const FileSystem& files,
                    Prompter& prompter) {
    const bool valid = IsValidPrefix(device.InstrumentPrefix);
    if (!valid) {
        prompter.ShowMessage(kPrefixMessage, MessageIcon::Stop);
        device.InstrumentPrefix = kInitialPrefix;
    }
    FollowPrefixInDirectory(device, plan, files);
    ComposeFileNames(device, plan, files);
    return valid;
}

void ComputeDefaultOutputDirectory(DeviceDescription& device, OutputPlan& plan, Registry& registry,
                                   SystemInfo& system, const FileSystem& files) {
    const char separator = files.Separator();
    std::string base = system.DefaultOutputBase();
    if (auto key = registry.OpenLocalMachineKey("SOFTWARE\\Quorvane\\ZEL-VISA for Windows 95/NT")) {
        if (auto installDir = key->QueryString("InstDir", kRegistryValueBytes)) {
            // An empty, relative or unreachable value would put the files wherever the program
            // happens to run; the platform maps it or drops it.
            if (auto folder = system.FolderFromRegistryPath(*installDir)) {
                base = *folder;
            }
        }
    }
    if (const auto version = system.GetOsVersion()) {
        if (base.empty() || base.back() != separator) {
            base += separator;
        }
        base += version->ntFamily ? "winnt" : "win95";
        base += separator;
    }
    plan.BaseDirectory = base;
    device.OutputDirectory = base + files.PathFromText(device.InstrumentPrefix);
    plan.DirectoryPrefix = files.PathFromText(kInitialPrefix);
}

void FollowPrefixInDirectory(DeviceDescription& device, OutputPlan& plan, const FileSystem& files) {
    const std::string& directory = device.OutputDirectory;
    const auto last = directory.rfind(files.Separator());
    if (last == std::string::npos) {
        return;
    }
    // Once the directory has been edited or browsed away from its default form, it stays put.
    if (directory.compare(0, last + 1, plan.BaseDirectory) == 0 &&
        last + 1 == plan.BaseDirectory.size() &&
        directory.compare(last + 1, std::string::npos, plan.DirectoryPrefix) == 0) {
        plan.DirectoryPrefix = files.PathFromText(device.InstrumentPrefix);
        device.OutputDirectory = plan.BaseDirectory + plan.DirectoryPrefix;
    }
}

void ComposeFileNames(const DeviceDescription& device, OutputPlan& plan, const FileSystem& files) {
    const std::string prefix = files.PathFromText(device.InstrumentPrefix);
    const std::string head = device.OutputDirectory + files.Separator();
    // Five characters of the text, not five bytes of its path form, which may end mid-character.
    plan.Files.RtInf = head + files.PathFromText(device.InstrumentPrefix.substr(0, 5)) + "_RT.inf";
    plan.Files.Inf9x = head + prefix + "_9x.inf";
    plan.Files.Nt4Inf = head + prefix + "_NT4.inf";
    plan.Files.Nt5Inf = head + prefix + "_NT5.inf";
    plan.Files.ModuleFile = head + prefix + ".ini";
    plan.Files.WdmInf = head + prefix + "_WDM.inf";
}

std::string FileListText(const OutputPlan& plan, Bus bus) {
    if (bus == Bus::Usb) {
        return plan.Files.WdmInf;
    }
    const OutputFiles& f = plan.Files;
    return f.RtInf + "\r\n" + f.Inf9x + "\r\n" + f.Nt4Inf + "\r\n" + f.Nt5Inf + "\r\n" +
           f.ModuleFile;
}

}  // namespace tessaly
