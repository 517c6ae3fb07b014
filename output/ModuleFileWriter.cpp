#include "output/ModuleFileWriter.h"

#include <memory>
#include <optional>
#include <string>

#include "device/IdText.h"
#include "output/InfText.h"

namespace tessaly {
namespace {

constexpr const char* kSaveFailed = "Unable to save Module Description File";
constexpr const char* kCopyFailed =
    "Unable to copy Module Description File to PXI hardware description file directory.";
constexpr const char* kResourceManagerKey = "SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion";

// Copies the written file into <Path>/Hardware Descriptions/Modules. Every obstacle but a
// failed copy ends it silently: without the resource manager there is nothing to update.
void CopyToHardwareDescriptions(const DeviceDescription& device, const OutputPlan& plan,
                                const Platform& platform, Prompter& prompter) {
    const std::unique_ptr<RegistryKey> key =
        platform.registry.OpenLocalMachineKey(kResourceManagerKey);
    if (!key) {
        return;
    }
    std::optional<std::string> base = key->QueryString("Path", kRegistryValueBytes);
    if (base) {
        // Like "InstDir", a path this system cannot place is no folder to write into.
        base = platform.system.FolderFromRegistryPath(*base);
    }
    if (!base) {
        return;
    }
    FileSystem& files = platform.files;
    const char separator = files.Separator();
    while (!base->empty() && base->back() == separator) {
        base->pop_back();
    }
    const std::string descriptions = *base + separator + "Hardware Descriptions";
    const std::string modules = descriptions + separator + "Modules";

    FileAttributes attributes = files.QueryAttributes(modules);
    if (!attributes.ok()) {
        // Only a missing last level is created; a missing "Hardware Descriptions" reports
        // path-not-found and means the resource manager is not set up there.
        if (attributes.error != FileError::FileNotFound) {
            return;
        }
        files.MakeDirectory(descriptions);
        files.MakeDirectory(modules);
        attributes = files.QueryAttributes(modules);
        if (!attributes.ok()) {
            return;
        }
    }
    if (!attributes.isDirectory) {
        return;
    }
    const std::string target =
        modules + separator + files.PathFromText(device.InstrumentPrefix) + ".ini";
    if (!files.CopyReplacing(plan.Files.ModuleFile, target)) {
        prompter.ShowMessage(kCopyFailed, MessageIcon::Exclamation);
    }
}

}  // namespace

std::string RenderModuleDescriptionFile(const DeviceDescription& device) {
    InfText file;
    file.Rule()
        .Line(";")
        .Line(";  This PXI Module Description File contains information a VISA implementation")
        .Join(";  needs in order to access your ", device.ModelName, " instrument.")
        .Line(";")
        .Rule()
        .Line()
        .Line("[Module]")
        .Join("ModuleName = \"", device.ModelName, "\"")
        .Join("ModuleVendor = \"", device.ManufName, "\"")
        .Join("ModelCode = 0x", IdDigits(device.ModelCode))
        .Join("ManufCode = 0x", IdDigits(device.ManufCode));
    if (device.UsesSubsystem) {
        file.Join("SubsystemModelCode = 0x", IdDigits(device.SubsystemModelCode))
            .Join("SubsystemManufCode = 0x", IdDigits(device.SubsystemManufCode));
    }
    if (!device.GeneratesInterrupts) {
        file.Line("VISARegistration = Simple");
        return file.str();
    }
    file.Join("VISARegistration = ", device.InstrumentPrefix)
        .Line()
        .Join("[", device.InstrumentPrefix, "]");
    for (std::size_t i = 0; i < device.DetectSequences.size(); ++i) {
        file.Join("InterruptDetect", std::to_string(i), " = \"", device.DetectSequences[i].Steps,
                  "\"");
    }
    file.Join("NumDetectSequences = ", std::to_string(device.DetectSequences.size()))
        .Join("InterruptQuiesce = \"", device.RemovalSteps, "\"");
    return file.str();
}

bool WriteModuleDescriptionFile(const DeviceDescription& device, const OutputPlan& plan,
                                const Platform& platform, Prompter& prompter) {
    if (!SaveGeneratedFile(plan.Files.ModuleFile, RenderModuleDescriptionFile(device), kSaveFailed,
                           platform.files, prompter)) {
        return false;
    }
    CopyToHardwareDescriptions(device, plan, platform, prompter);
    return true;
}

}  // namespace tessaly
