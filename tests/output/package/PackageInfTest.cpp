#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "output/InfWriters.h"
#include "output/package/DriverPackage.h"
#include "output/package/PackageInf.h"
#include "tests/fakes/Golden.h"
#include "tests/output/package/GoldenDevices.h"

namespace tessaly {
namespace {

using testing::MatchesGolden;

constexpr std::int64_t kNov14of2023 = 1700000000;

DeviceDescription UsbDevice(bool compound) {
    DeviceDescription d;
    d.BusType = Bus::Usb;
    d.UsbVendorId = "0x1234";
    d.UsbProductId = "0xABCD";
    d.UsbManufName = "Acme";
    d.UsbModelName = "Scope 5";
    d.InstrumentPrefix = "scope";
    d.IsCompoundDevice = compound;
    d.InterfaceCount = 3;
    return d;
}

// An INF as sections of lines; section names without regard to case, as Windows reads them.
using Sections = std::map<std::string, std::vector<std::string>>;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

Sections Parse(const std::string& inf) {
    Sections sections;
    std::string current;
    std::istringstream lines(inf);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            current = Lower(line.substr(1, line.find(']') - 1));
            sections[current];
        } else {
            sections[current].push_back(line);
        }
    }
    return sections;
}

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::istringstream parts(text);
    for (std::string field; std::getline(parts, field, ',');) {
        fields.push_back(Trim(field));
    }
    return fields;
}

// What a reader of the INF finds missing: sections named and not there, strings used and not
// defined.
std::vector<std::string> MissingReferences(const Sections& inf) {
    std::vector<std::string> missing;
    const auto need = [&](const std::string& section, const std::string& by) {
        if (!inf.count(Lower(section))) {
            missing.push_back("[" + section + "] named by " + by);
        }
    };
    std::set<std::string> strings;
    for (const std::string& line : inf.at("strings")) {
        strings.insert(Lower(Trim(line.substr(0, line.find('=')))));
    }
    for (const auto& [name, lines] : inf) {
        for (const std::string& line : lines) {
            const std::string key = Lower(Trim(line.substr(0, line.find('='))));
            const std::string value = line.find('=') == std::string::npos
                                          ? std::string()
                                          : Trim(line.substr(line.find('=') + 1));
            if (name != "strings") {
                // Every %token% is a string, except directory numbers such as %12%.
                for (auto at = line.find('%'); at != std::string::npos;) {
                    const auto end = line.find('%', at + 1);
                    if (end == std::string::npos) {
                        missing.push_back("an unpaired % in [" + name + "]");
                        break;
                    }
                    const std::string token = line.substr(at + 1, end - at - 1);
                    if (token.find_first_not_of("0123456789") != std::string::npos &&
                        !strings.count(Lower(token))) {
                        missing.push_back("%" + token + "% in [" + name + "]");
                    }
                    at = line.find('%', end + 1);
                }
            }
            if (key == "addreg") {
                need(value, name);
            } else if (key == "addservice") {
                need(Fields(value).at(2), name);
            } else if (name == "manufacturer") {
                const std::vector<std::string> models = Fields(value);
                for (std::size_t i = 1; i < models.size(); ++i) {
                    need(models[0] + "." + models[i], "[Manufacturer]");
                }
            } else if (name.rfind("pcilist.", 0) == 0 || name.rfind("usblist.", 0) == 0) {
                // A models line installs a section, on NT its ".NT" form when there is one;
                // its services come from that section's ".Services".
                const std::string install = Fields(value).at(0);
                const std::string nt =
                    inf.count(Lower(install + ".NT")) ? install + ".NT" : install;
                need(nt, name);
                need(nt + ".Services", name);
            }
        }
    }
    return missing;
}

std::vector<std::string> LinesStartingWith(const std::string& inf, const std::string& start) {
    std::vector<std::string> found;
    std::istringstream lines(inf);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(start, 0) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

TEST(PackageInfTest, MatchesTheGoldenFiles) {
    const std::tuple<const char*, DeviceDescription, Bus> kCases[] = {
        {"package_pxi_subsys.inf", testing::GoldenPxiDevice(true), Bus::PxiPci},
        {"package_pxi.inf", testing::GoldenPxiDevice(false), Bus::PxiPci},
        {"package_usb_compound.inf", UsbDevice(true), Bus::Usb},
    };
    for (const auto& [golden, device, bus] : kCases) {
        std::vector<std::string> ids;
        EXPECT_TRUE(
            MatchesGolden(golden, RenderPackageInf(device, bus, "1.2.3.4", kNov14of2023, ids)));
    }
}

// What 64-bit Windows needs, and everything the seed's INF for the bus gives its device.
TEST(PackageInfTest, IsCompleteAndKeepsTheSeedsValues) {
    DeviceDescription plain = testing::GoldenPxiDevice(false);
    plain.ManufName = "Acme Instruments";
    DeviceDescription subsystem = testing::GoldenPxiDevice(true);
    subsystem.ManufName = plain.ManufName;
    const std::tuple<const char*, DeviceDescription, Bus> kCases[] = {
        {"PXI/PCI", plain, Bus::PxiPci},
        {"PXI/PCI with subsystem IDs", subsystem, Bus::PxiPci},
        {"PXI/PCI without interrupts", DeviceDescription{}, Bus::PxiPci},
        {"USB", UsbDevice(false), Bus::Usb},
        {"compound USB", UsbDevice(true), Bus::Usb},
    };
    for (const auto& [name, device, bus] : kCases) {
        SCOPED_TRACE(name);
        std::vector<std::string> ids;
        const std::string inf = RenderPackageInf(device, bus, "1.0.0.0", kNov14of2023, ids);
        const Sections sections = Parse(inf);
        EXPECT_EQ(MissingReferences(sections), std::vector<std::string>{});
        const std::vector<std::string>& version = sections.at("version");
        for (const std::string& line : std::vector<std::string>{
                 "Signature=\"$WINDOWS NT$\"", "DriverVer=11/14/2023,1.0.0.0",
                 "CatalogFile=" + device.InstrumentPrefix + ".cat", "PnpLockdown=1"}) {
            EXPECT_NE(std::find(version.begin(), version.end(), line), version.end()) << line;
        }
        const std::string manufacturer = sections.at("manufacturer").at(0);
        EXPECT_NE(manufacturer.find(",NTx86,NTamd64,NTarm64"), std::string::npos) << manufacturer;

        std::vector<std::string> seedIds;
        const std::string seed =
            bus == Bus::Usb ? RenderWdmInf(device, seedIds) : RenderNt5Inf(device, seedIds);
        EXPECT_EQ(ids, seedIds);
        for (const char* start : {"HKLM,", "HKR,,BridgeType", "HKR,,DeviceClass", "HKR,,NTMPDriver",
                                  "AddService", "Addservice", "ServiceType", "StartType",
                                  "ErrorControl", "ServiceBinary", "LoadOrderGroup", "Class="}) {
            EXPECT_EQ(LinesStartingWith(inf, start), LinesStartingWith(seed, start)) << start;
        }
    }
}

TEST(PackageInfTest, DriverVersionsAndSourceDates) {
    const std::tuple<std::int64_t, const char*> kDates[] = {
        {0, "01/01/1970,1.0.0.0"},
        {kNov14of2023, "11/14/2023,1.0.0.0"},
        {1709251199, "02/29/2024,1.0.0.0"},  // the last second of a leap day
    };
    for (const auto& [date, expected] : kDates) {
        EXPECT_EQ(DriverVerValue(date, "1.0.0.0"), expected);
    }
    const std::tuple<const char*, bool> kVersions[] = {
        {"1.0.0.0", true},       {"65535.65535.65535.65535", true},
        {"01.2.3.4", true},      {"65536.0.0.0", false},
        {"1.0.0", false},        {"1.0.0.0.0", false},
        {"1..0.0", false},       {"1.0.0.0 ", false},
        {"a.b.c.d", false},      {"", false},
        {"100000.0.0.0", false},
    };
    for (const auto& [version, valid] : kVersions) {
        EXPECT_EQ(IsValidDriverVersion(version), valid) << version;
    }
    const std::tuple<const char*, std::optional<std::int64_t>> kEpochs[] = {
        {"1700000000", kNov14of2023},
        {"0", 0},
        {"253402300799", 253402300799},
        {"253402300800", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"17e8", std::nullopt},
        {" 1", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, moment] : kEpochs) {
        EXPECT_EQ(ParseSourceDateEpoch(text), moment) << text;
    }
}

}  // namespace
}  // namespace tessaly
