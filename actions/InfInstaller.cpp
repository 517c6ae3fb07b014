#include "actions/InfInstaller.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {
namespace {

constexpr const char* kProductKey = "SOFTWARE\\Quorvane\\Vantorix\\";
constexpr const char* kRealTimeVersionKey = "SOFTWARE\\Quorvane\\Vantorix\\5.1.2\\";
constexpr std::size_t kSubKeyNameChars = 8;
constexpr std::size_t kVersionBytes = 8;
constexpr std::size_t kPathBytes = 256;

// The part of `path` after its last separator.
std::string FileNameOf(const std::string& path, char separator) {
    const auto pos = path.rfind(separator);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

// The setup command installs the NT4 INF; it runs on its own and is not waited for.
bool InstallBySetupCommand(const std::string& infPath, Shell& shell) {
    const int result =
        shell.Execute("rundll32.exe", "setupapi,InstallHinfSection DefaultInstall 132 " + infPath);
    return result >= 32;
}

bool InstallByCopyAndUpdate(const std::string& infPath, const std::vector<std::string>& ids,
                            const Platform& platform) {
    const std::optional<std::string> windows = platform.system.GetWindowsDirectory();
    if (!windows) {
        return false;
    }
    const char sep = platform.files.Separator();
    const std::string target = *windows + sep + "inf" + sep + FileNameOf(infPath, sep);

    // Windows keeps a precompiled companion of every INF there; a stale one would win over the
    // new text. Its absence is fine.
    if (target.size() >= 3 && target.compare(target.size() - 3, 3, "inf") == 0) {
        platform.files.RemoveFile(target.substr(0, target.size() - 3) + "pnf");
    }
    if (!platform.files.CopyReplacing(infPath, target)) {
        return false;
    }
    if (!platform.plugAndPlay.IsAvailable()) {
        return false;
    }
    for (const std::string& id : ids) {
        platform.plugAndPlay.UpdateDriver(id, target);
    }
    return true;
}

}  // namespace

bool InstallInf(const OutputPlan& plan, Bus bus, const Platform& platform) {
    const std::optional<OsVersion> version = platform.system.GetOsVersion();
    if (!version) {
        return false;
    }
    const bool usb = bus == Bus::Usb;
    // An INF the last generation could not save may still lie there from an earlier run; it
    // describes another device or an older one, so there is nothing to install.
    const auto written = [&plan](const std::string& path) {
        return std::find(plan.WrittenFiles.begin(), plan.WrittenFiles.end(), path) !=
               plan.WrittenFiles.end();
    };
    if (version->major >= 5) {
        const std::string& inf = usb ? plan.Files.WdmInf : plan.Files.Nt5Inf;
        return written(inf) && InstallByCopyAndUpdate(inf, plan.HardwareIds, platform);
    }
    if (usb) {
        return false;  // the WDM INF needs Windows 2000 or later
    }
    return written(plan.Files.Nt4Inf) && InstallBySetupCommand(plan.Files.Nt4Inf, platform.shell);
}

bool RealTimeProductDetector::Detect(Registry& registry, FileSystem& files) {
    if (found_) {
        return true;
    }
    if (registry.OpenLocalMachineKey(kRealTimeVersionKey)) {
        found_ = true;
        return true;
    }
    const std::unique_ptr<RegistryKey> product = registry.OpenLocalMachineKey(kProductKey);
    if (!product) {
        return false;
    }
    const char sep = files.Separator();
    for (std::size_t index = 0; !found_; ++index) {
        const std::optional<std::string> name = product->EnumSubKey(index, kSubKeyNameChars);
        if (!name) {
            break;
        }
        const std::unique_ptr<RegistryKey> version = product->OpenSubKey(*name);
        if (!version) {
            break;
        }
        if (version->QueryString("RTVersion", kVersionBytes)) {
            found_ = true;
        } else if (const auto addOn = version->OpenSubKey("AddOns\\Real-Time\\")) {
            // The add-on key decides on its own: its installation path is not looked at.
            found_ = addOn->QueryString("Version", kVersionBytes).has_value();
        } else if (const auto path = version->QueryString("Path", kPathBytes)) {
            std::string monitor = *path;
            if (monitor.empty() || monitor.back() != sep) {
                monitor += sep;
            }
            monitor += std::string("Resource") + sep + "tgtmon.exe";
            found_ = files.CanOpenForReading(monitor);
        }
    }
    return found_;
}

bool DetectRealTimeProductOrUnconfigured(RealTimeProductDetector& detector, bool registryConfigured,
                                         Registry& registry, FileSystem& files) {
    return !registryConfigured || detector.Detect(registry, files);
}

}  // namespace tessaly
