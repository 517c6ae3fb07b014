#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/fakes/TempDir.h"

namespace tessaly::testing {

// Attribute files of one PCI function, written as given plus a line end; nullopt leaves the
// file out.
struct FakePciFunction {
    std::string address{};
    std::optional<std::string> vendor = "0x8086";
    std::optional<std::string> device = "0x1237";
    std::optional<std::string> subsystemVendor = "0x0000";
    std::optional<std::string> subsystemDevice = "0x0000";
    std::optional<std::string> classCode = "0x118000";
};

// Attribute files of one USB device or interface, as FakePciFunction.
struct FakeUsbDevice {
    std::string busPath{};
    std::optional<std::string> idVendor = "1d6b";
    std::optional<std::string> idProduct = "0002";
    std::optional<std::string> numInterfaces = " 1";  // the kernel pads it to two places
    std::optional<std::string> deviceClass = "00";
    std::optional<std::string> manufacturer{};
    std::optional<std::string> product{};
};

// A sysfs tree shaped like the kernel's (bus entries are links to the device folders) and an ID
// database folder, in a temporary folder.
class FakeSysfs {
public:
    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path idFolder() const { return dir_.path() / "hwdata"; }

    void Add(const FakePciFunction& function) const;
    void Add(const FakeUsbDevice& device) const;
    void WriteIds(const std::string& fileName, const std::string& text) const;

private:
    TempDir dir_;
};

// Small pci.ids and usb.ids naming the devices the GUI tests and the screenshot use.
extern const char* const kSamplePciIds;
extern const char* const kSampleUsbIds;

}  // namespace tessaly::testing
