#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "discovery/DeviceSource.h"
#include "platform/Platform.h"
#include "system/MemoryRegistry.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeFtpClient.h"

namespace tessaly::testing {

class FakeSystemInfo final : public SystemInfo {
public:
    std::optional<OsVersion> version = OsVersion{true, 10, 0};
    std::optional<std::string> windowsDirectory = std::string("c:\\windows");
    std::string defaultOutputBase = "c:\\vxipnp\\";

    std::optional<OsVersion> GetOsVersion() override { return version; }
    std::optional<std::string> GetWindowsDirectory() override { return windowsDirectory; }
    std::string DefaultOutputBase() override { return defaultOutputBase; }
    // As on Windows, where a registry path is a path; only an empty one, and one too long to
    // be read, names nothing.
    std::optional<std::string> FolderFromRegistryPath(const std::string& value) override {
        return value.empty() || value.size() >= kRegistryPathBytes ? std::nullopt
                                                                   : std::optional(value);
    }
};

class FakeShell final : public Shell {
public:
    std::vector<std::string> openedFolders;
    std::vector<std::pair<std::string, std::string>> executed;  // file, parameters
    int executeResult = 42;

    bool OpenFolder(const std::string& path) override {
        openedFolders.push_back(path);
        return true;
    }
    int Execute(const std::string& file, const std::string& parameters) override {
        executed.emplace_back(file, parameters);
        return executeResult;
    }
};

class FakePlugAndPlay final : public PlugAndPlay {
public:
    bool available = true;
    std::vector<std::pair<std::string, std::string>> updates;  // hardware ID, INF path
    std::function<void()> duringUpdate;                        // looks at the caller meanwhile

    bool IsAvailable() override { return available; }
    void UpdateDriver(const std::string& hardwareId, const std::string& infPath) override {
        updates.emplace_back(hardwareId, infPath);
        if (duringUpdate) {
            duringUpdate();
        }
    }
};

// Lists what a test put in; an ID file is one whose text the test gave.
class FakeDeviceSource final : public DeviceSource {
public:
    std::vector<PciDevice> pci;
    std::vector<UsbDevice> usb;
    std::map<std::string, std::string> idFiles;  // file name, text

    std::vector<PciDevice> PciDevices() override { return pci; }
    std::vector<UsbDevice> UsbDevices() override { return usb; }
    IdDatabase LoadIds(const std::string& fileName) override {
        const auto it = idFiles.find(fileName);
        return it == idFiles.end() ? IdDatabase() : IdDatabase::FromText(it->second);
    }
};

// Records what is trusted and installed; a 32-bit Windows with certificate stores until a test
// says otherwise.
class FakeDriverStore final : public DriverStore {
public:
    bool certificateStores = true;
    bool trustSucceeds = true;
    bool is64Bit = false;
    std::vector<std::string> trusted;    // certificates
    std::vector<std::string> installed;  // INF paths

    bool HasCertificateStores() override { return certificateStores; }
    bool TrustPublisher(std::string_view certificate) override {
        trusted.emplace_back(certificate);
        return trustSucceeds;
    }
    bool InstallPackage(const std::string& inf, const std::string&,
                        const std::vector<std::string>&) override {
        installed.push_back(inf);
        return true;
    }
    bool Is64BitWindows() override { return is64Bit; }
};

// A Windows-like machine: "\" paths, drive c: present, an NT system of major version 10, no
// registry keys until a test adds them, no attached devices.
struct FakePlatform {
    MemoryRegistry registry;
    FakeFileSystem files;
    FakeSystemInfo system;
    FakeShell shell;
    FakePlugAndPlay plugAndPlay;
    FakeFtpClient ftp;
    FakeDeviceSource devices;
    FakeDriverStore driverStore;

    explicit FakePlatform(char separator = '\\') : files(separator) {}

    Platform platform() {
        return Platform{registry, files, system, shell, plugAndPlay, ftp, devices, driverStore};
    }
};

}  // namespace tessaly::testing
