#include "tests/fakes/FakeSysfs.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

using Attributes = std::initializer_list<std::pair<const char*, const std::optional<std::string>&>>;

// The device folder under devices/ and the bus entry linking to it.
void AddEntry(const TempDir& dir, const std::string& bus, const std::string& name,
              Attributes attributes) {
    const std::string folder = "devices/" + bus + "/" + name;
    for (const auto& [file, text] : attributes) {
        if (text) {
            dir.Write(folder + "/" + file, *text + "\n");
        }
    }
    fs::create_directories(dir.path() / folder);
    const fs::path link = dir.path() / "bus" / bus / "devices" / name;
    fs::create_directories(link.parent_path());
    std::error_code error;
    fs::create_directory_symlink(fs::path("../../../devices") / bus / name, link, error);
    EXPECT_FALSE(error) << link;
}

}  // namespace

void FakeSysfs::Add(const FakePciFunction& f) const {
    AddEntry(dir_, "pci", f.address,
             {{"vendor", f.vendor},
              {"device", f.device},
              {"subsystem_vendor", f.subsystemVendor},
              {"subsystem_device", f.subsystemDevice},
              {"class", f.classCode}});
}

void FakeSysfs::Add(const FakeUsbDevice& d) const {
    AddEntry(dir_, "usb", d.busPath,
             {{"idVendor", d.idVendor},
              {"idProduct", d.idProduct},
              {"bNumInterfaces", d.numInterfaces},
              {"bDeviceClass", d.deviceClass},
              {"manufacturer", d.manufacturer},
              {"product", d.product}});
}

void FakeSysfs::WriteIds(const std::string& fileName, const std::string& text) const {
    dir_.Write("hwdata/" + fileName, text);
}

const char* const kSamplePciIds =
    "# Sample of pci.ids\n"
    "1a2b  Tessaly Instruments\n"
    "\t0042  TX-4021 Digitizer\n"
    "\t\t1a2b 0001  TX-4021 with 64 MB\n"
    "8086  Intel Corporation\n"
    "\t100e  82540EM Gigabit Ethernet Controller\n"
    "\t1237  440FX - 82441FX PMC [Natoma]\n"
    "\t7000  82371SB PIIX3 ISA [Natoma/Triton II]\n"
    "10b5  PLX Technology, Inc.\n"
    "\t9054  PCI9054 32-bit 33MHz PCI <-> IOBus Bridge\n"
    "C 02  Network controller\n"
    "\t00  Ethernet controller\n"
    "C 06  Bridge\n"
    "\t00  Host bridge\n"
    "\t01  ISA bridge\n"
    "C 11  Signal processing controller\n";

const char* const kSampleUsbIds =
    "# Sample of usb.ids\n"
    "0957  Agilent Technologies, Inc.\n"
    "\t1745  Test and Measurement Device (IVI)\n"
    "1d6b  Linux Foundation\n"
    "\t0002  2.0 root hub\n"
    "\t0003  3.0 root hub\n"
    "C 09  Hub\n"
    "\t00  Unused\n";

}  // namespace tessaly::testing
