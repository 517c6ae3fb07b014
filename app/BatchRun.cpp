#include "app/BatchRun.h"

#include <algorithm>
#include <map>
#include <memory>
#include <new>

#include "actions/InfInstaller.h"
#include "actions/PackageInstaller.h"
#include "device/DeviceChecks.h"
#include "device/IdText.h"
#include "device/TextRules.h"
#include "discovery/DeviceChoice.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"
#include "output/InfHazards.h"
#include "platform/Registry.h"
#include "resources/StringTable.h"

namespace tessaly {
namespace {

// Devices written side by side: their files wait on the disk, not on the processor, and waits
// that overlap share the disk's flushes.
constexpr std::size_t kDevicesAtOnce = 8;
// Devices loaded, written and reported together; the messages of one group are shown before the
// next is loaded, so a long batch reports as it goes.
constexpr std::size_t kGroupSize = 64;

constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool IsSeparator(char c, const FileSystem& files) {
    return c == files.Separator() || c == '/';
}

// DIR/<prefix>, the prefix in the file system's encoding; DIR itself for an empty prefix.
std::string DeviceFolder(const std::string& folder, const std::string& prefix,
                         const FileSystem& files) {
    std::string path = folder;
    if (prefix.empty()) {
        // A root ("/", "c:\") keeps its separator.
        while (path.size() > 1 && IsSeparator(path.back(), files) && path[path.size() - 2] != ':') {
            path.pop_back();
        }
        return path;
    }
    if (path.empty() || !IsSeparator(path.back(), files)) {
        path += files.Separator();
    }
    return path + files.PathFromText(prefix);
}

// Creates every missing level of `folder`; true when it is a folder afterwards.
bool MakeFolders(const std::string& folder, FileSystem& files) {
    for (std::size_t i = 1; i < folder.size(); ++i) {
        if (IsSeparator(folder[i], files) && folder[i - 1] != ':' &&
            !IsSeparator(folder[i - 1], files) &&
            !files.QueryAttributes(folder.substr(0, i)).ok()) {
            files.MakeDirectory(folder.substr(0, i));
        }
    }
    if (!files.QueryAttributes(folder).ok()) {
        files.MakeDirectory(folder);
    }
    const FileAttributes attributes = files.QueryAttributes(folder);
    return attributes.ok() && attributes.isDirectory;
}

// An argument as field text (Latin-1 bytes): arguments come in the file system's encoding, as
// paths do; nullopt when one holds a character Latin-1 lacks.
std::optional<std::string> TextFromArgument(const std::string& argument, const FileSystem& files) {
    // Windows hands them over in its ANSI code page, which is the text already.
    if (files.PathFromText(argument) == argument) {
        return argument;
    }
    return Utf8ToLatin1(argument);
}

// Why a module file gave nothing when the loader said nothing itself.
std::string UnreadableReason(const std::string& path, FileSystem& files) {
    return files.QueryAttributes(path).ok() ? "The file cannot be read." : "There is no such file.";
}

std::vector<std::unique_ptr<BatchDevice>> LoadModuleDevices(const std::string& path,
                                                            std::optional<int> position,
                                                            FileSystem& files) {
    std::vector<std::unique_ptr<BatchDevice>> devices;
    const auto load = [&](const std::string& label, std::optional<int> at) {
        auto& device = devices.emplace_back(std::make_unique<BatchDevice>());
        device->label = label;
        MessageLog& log = device->log;
        const auto choose = [&log](const std::vector<std::string>& functions) {
            return log.ChooseFunction(functions);
        };
        device->ready =
            LoadModuleDescriptionFile(device->model.device, path, files, log, choose, at) == 0;
        if (!device->ready && !device->log.failed()) {
            device->log.ShowMessage(UnreadableReason(path, files), MessageIcon::Stop);
        }
        return device.get();
    };
    // The first load offers the choice when the module has several functions; the log takes the
    // first, and the others follow by position.
    const BatchDevice* first = load(path, position);
    if (!first->ready || !first->log.functions()) {
        return devices;
    }
    const auto count = static_cast<int>(first->log.functions()->size());
    devices.front()->label = path + ", function 1";
    for (int k = 1; k < count; ++k) {
        load(path + ", function " + std::to_string(k + 1), k);
    }
    return devices;
}

std::unique_ptr<BatchDevice> MakeUsbDevice(const BatchOptions& options, const FileSystem& files) {
    auto usb = std::make_unique<BatchDevice>();
    DeviceDescription& device = usb->model.device;
    MessageLog& log = usb->log;
    const auto refuse = [&log](const std::string& option, const std::string& value,
                               std::string_view why) {
        log.ShowMessage(option + " " + Quoted(value) + ": " + std::string(why), MessageIcon::Stop);
    };
    device.BusType = Bus::Usb;

    const std::string& ids = *options.usb;
    const std::size_t colon = ids.find(':');
    const std::pair<std::string, std::string*> idFields[] = {
        {ids.substr(0, colon), &device.UsbVendorId}, {ids.substr(colon + 1), &device.UsbProductId}};
    for (const auto& [text, field] : idFields) {
        if (ParseExactIdText(text)) {
            // As the USB page shows it once the field is left.
            *field = NormalizeIdText(text);
        } else {
            refuse(field == &device.UsbVendorId ? "--usb vendor ID" : "--usb product ID", text,
                   "not a number from 0 to 0xFFFF in decimal, 0x hexadecimal or octal.");
        }
    }
    const std::pair<const std::optional<std::string>*, std::string*> texts[] = {
        {&options.manufacturer, &device.UsbManufName},
        {&options.model, &device.UsbModelName},
        {&options.prefix, &device.InstrumentPrefix}};
    const char* names[] = {"--manufacturer", "--model", "--prefix"};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::string given = texts[i].first->value_or("");
        if (const std::optional<std::string> text = TextFromArgument(given, files)) {
            *texts[i].second = *text;
        } else {
            refuse(names[i], given, "the files hold Latin-1 text, which lacks a character of it.");
        }
    }
    if (!IsValidPrefix(device.InstrumentPrefix)) {
        refuse("--prefix", *options.prefix, kPrefixMessage);
    }
    if (options.interfaces) {
        device.IsCompoundDevice = true;
        device.InterfaceCountText = *options.interfaces;
    }
    const std::string& count = device.InterfaceCountText;
    const bool digitsOnly = !count.empty() && std::all_of(count.begin(), count.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    // The page reads the number at the start and ignores the rest; a script means all of it.
    if (device.IsCompoundDevice && !digitsOnly) {
        refuse("--interfaces", count, strings::kInterfaceCountInvalid);
    } else if (const std::optional<std::string_view> refused = CheckUsbPage(device)) {
        refuse(*refused == strings::kManufacturerIdZero ? "--usb" : "--interfaces",
               *refused == strings::kManufacturerIdZero ? ids : count, *refused);
    }
    usb->ready = !log.failed();
    return usb;
}

// The key under which Windows finds a file name: letters in upper case, Latin-1 ones too.
std::string FileNameKey(const std::string& text) {
    std::string key = text;
    for (char& c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
            c = static_cast<char>(byte - 0x20);
        }
    }
    return key;
}

// Claims each ready device's prefix in order: a prefix an earlier device of the run holds (in
// any letter case, as Windows compares file names) refuses the later one.
void ClaimPrefixes(std::vector<std::unique_ptr<BatchDevice>>& devices,
                   std::map<std::string, std::string>& claimed) {
    for (const auto& device : devices) {
        if (!device->ready) {
            continue;
        }
        const std::string& prefix = device->model.device.InstrumentPrefix;
        const auto [it, fresh] = claimed.emplace(FileNameKey(prefix), device->label);
        if (!fresh) {
            device->log.ShowMessage("The prefix " + Quoted(prefix) + " is already written by " +
                                        it->second + " in this run; these files are not written.",
                                    MessageIcon::Stop);
            device->ready = false;
        }
    }
}

// HKEY_LOCAL_MACHINE without keys: nothing there names a folder outside DIR.
class NoRegistry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string&) override {
        return nullptr;
    }
};

// What every package of the run shares: the date, the driver version and the signer. Nullopt
// when SOURCE_DATE_EPOCH is set to something that is no date: a reproducible build must not
// carry the current time instead.
std::optional<DriverPackageRequest> PackageRequest(const BatchOptions& options,
                                                   const PackageEnvironment& environment,
                                                   Prompter& messages) {
    DriverPackageRequest request;
    request.now = environment.now;
    const std::optional<std::int64_t> date = PackageDate(environment);
    if (!date) {
        messages.ShowMessage("SOURCE_DATE_EPOCH " + Quoted(*environment.sourceDateEpoch) +
                                 " is not a number of seconds since 1970; nothing is written.",
                             MessageIcon::Stop);
        return std::nullopt;
    }
    request.date = *date;
    request.driverVersion = options.driverVersion.value_or(request.driverVersion);
    SigningChoice& signing = request.signing;
    signing.password = environment.pfxPassword.value_or("");
    if (options.signPfx) {
        signing.source = SigningSource::Pkcs12;
        signing.pkcs12Path = *options.signPfx;
        if (!environment.pfxPassword) {
            messages.ShowMessage("warning: TESSALY_PFX_PASSWORD is not set; " + *options.signPfx +
                                     " is opened with an empty password.",
                                 MessageIcon::None);
        }
    } else if (options.signKey) {
        signing.source = SigningSource::KeyAndCertificate;
        signing.keyPath = *options.signKey;
        signing.certificatePath = options.signCert.value_or("");
    }
    return request;
}

}  // namespace

void MessageLog::ShowMessage(const std::string& text, MessageIcon icon) {
    failed_ = failed_ || icon == MessageIcon::Stop || icon == MessageIcon::Exclamation;
    entries_.push_back({text, icon});
}

bool MessageLog::AskYesNo(const std::string& text) {
    entries_.push_back({text + "\nNo.", MessageIcon::Question});
    return false;
}

std::optional<int> MessageLog::ChooseFunction(const std::vector<std::string>& functions) {
    functions_ = functions;
    return 0;
}

bool WriteDevice(BatchDevice& device, const BatchTarget& target) {
    WizardModel& model = device.model;
    const Platform& platform = target.platform;
    try {
        model.device.OutputDirectory =
            DeviceFolder(target.folder, model.device.InstrumentPrefix, platform.files);
        if (GenerateAll(model.device, model.plan, platform, device.log,
                        GenerationSource::OutputPage, true) != 0) {
            device.log.ShowMessage(
                "The files cannot be written into " + Quoted(model.device.OutputDirectory) + ".",
                MessageIcon::Stop);
            return false;
        }
        if (target.package) {
            DriverPackageRequest request = *target.package;
            request.device = model.device;
            request.outputDirectory = model.device.OutputDirectory;
            model.plan.Package =
                WriteDriverPackage(request, platform.files, *target.crypto, device.log);
        }
        if (target.install && target.package) {
            // The package takes the seed INF's place: 64-bit Windows ignores that INF, and an
            // older one would ask about its missing signature.
            if (model.plan.Package &&
                !InstallDriverPackage(*model.plan.Package, platform.driverStore, device.log,
                                      TrustConsent::Tell)) {
                device.log.ShowMessage(std::string(kPackageNotInstalled), MessageIcon::Stop);
            }
        } else if (target.install) {
            WarnIfSeedInfIsIgnored(platform.driverStore, device.log);
            if (!InstallInf(model.plan, model.device.BusType, platform)) {
                device.log.ShowMessage(kCouldNotInstall, MessageIcon::Stop);
            }
        }
    } catch (const std::bad_alloc&) {
        device.log.ShowMessage("There is not enough memory to write these files.",
                               MessageIcon::Stop);
    }
    return !device.log.failed();
}

int RunBatch(const CommandLine& line, const Platform& platform,
             const PackageEnvironment& environment, Workers& workers, Prompter& messages,
             std::ostream& list) {
    const BatchOptions& options = line.batch;
    NoRegistry noRegistry;
    const Platform quiet{noRegistry,       platform.files,       platform.system,
                         platform.shell,   platform.plugAndPlay, platform.ftp,
                         platform.devices, platform.driverStore};
    BatchTarget target{*options.output, options.install, options.install ? platform : quiet};
    if (options.package) {
        target.package = PackageRequest(options, environment, messages);
        if (!target.package) {
            return 1;
        }
        target.crypto = &environment.crypto;
    }
    const std::optional<int> position =
        line.wizard.function ? FunctionPosition(*line.wizard.function) : std::nullopt;

    std::map<std::string, std::string> claimed;
    enum class Folder { NotYet, Made, Failed } folder = Folder::NotYet;
    bool allWritten = true;
    std::vector<std::unique_ptr<BatchDevice>> group;
    const auto runGroup = [&] {
        ClaimPrefixes(group, claimed);
        for (const auto& device : group) {
            if (!device->ready) {
                continue;
            }
            // DIR is made when the first device is about to be written, not for a batch that
            // writes nothing.
            if (folder == Folder::NotYet) {
                folder = MakeFolders(target.folder, platform.files) ? Folder::Made : Folder::Failed;
                if (folder == Folder::Failed) {
                    messages.ShowMessage(
                        "The folder " + Quoted(target.folder) + " cannot be created.",
                        MessageIcon::Stop);
                }
            }
            device->ready = folder == Folder::Made;
            if (!device->ready) {
                continue;
            }
            // The files are written as described all the same; what INF readers will misread
            // is said first, as warnings that do not fail the run.
            for (const InfHazard& hazard :
                 FindInfHazards(device->model.device, device->model.device.BusType)) {
                device->log.ShowMessage("warning: " + DescribeInfHazard(hazard), MessageIcon::None);
            }
        }
        workers.RunAll(
            group.size(),
            [&](std::size_t i) {
                if (group[i]->ready) {
                    group[i]->written = WriteDevice(*group[i], target);
                }
            },
            // Installing goes into places the devices share (the Windows inf folder, the resource
            // manager's folder, the driver store): one device at a time.
            options.install ? 1 : kDevicesAtOnce);
        for (const auto& device : group) {
            for (const MessageLog::Entry& entry : device->log.entries()) {
                messages.ShowMessage(
                    device->label.empty() ? entry.text : device->label + ": " + entry.text,
                    entry.icon);
            }
            // What a device that failed midway did write is listed too: it is there.
            if (options.list) {
                for (const std::string& path : device->model.plan.WrittenFiles) {
                    list << path << '\n';
                }
                if (const std::optional<DriverPackage>& package = device->model.plan.Package) {
                    for (const std::string* path :
                         {&package->catalog, &package->certificateFile, &package->inf}) {
                        if (!path->empty()) {
                            list << *path << '\n';
                        }
                    }
                }
            }
            allWritten = allWritten && device->written;
        }
        list.flush();
        group.clear();
    };

    if (options.usb) {
        group.push_back(MakeUsbDevice(options, platform.files));
    }
    for (const std::string& path : line.files) {
        for (auto& device : LoadModuleDevices(path, position, platform.files)) {
            group.push_back(std::move(device));
        }
        if (group.size() >= kGroupSize) {
            runGroup();
        }
    }
    runGroup();
    if (!list) {
        messages.ShowMessage("The list of files written cannot be written to standard output.",
                             MessageIcon::Stop);
    }
    return allWritten && list ? 0 : 1;
}

}  // namespace tessaly
