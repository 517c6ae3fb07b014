// Opening the attached-device chooser with Debian's full pci.ids and usb.ids (the hwdata package):
// reading each database, and the whole work before the dialog shows for 100 devices (listing a
// sysfs tree, reading the database, naming every row). Skipped when the files are absent.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "discovery/DeviceChoice.h"
#include "tests/fakes/FakeSysfs.h"

namespace {

using namespace tessaly;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Vendor and device IDs spread over the whole file: the first device of every k-th vendor.
std::vector<std::pair<std::string, std::string>> SpreadIds(const std::string& text, int count) {
    std::vector<std::pair<std::string, std::string>> vendorDevices;
    std::istringstream lines(text);
    std::string line;
    std::string vendor;
    while (std::getline(lines, line)) {
        if (line.rfind("C ", 0) == 0) {
            break;
        }
        if (line.size() > 6 && line[0] != '\t' && line[0] != '#' && line[4] == ' ') {
            vendor = line.substr(0, 4);
        } else if (!vendor.empty() && line.size() > 7 && line[0] == '\t' && line[1] != '\t') {
            vendorDevices.emplace_back(vendor, line.substr(1, 4));
            vendor.clear();
        }
    }
    std::vector<std::pair<std::string, std::string>> spread;
    for (int i = 0; i < count && !vendorDevices.empty(); ++i) {
        spread.push_back(vendorDevices[vendorDevices.size() * static_cast<std::size_t>(i) /
                                       static_cast<std::size_t>(count)]);
    }
    return spread;
}

void BM_LoadIds(benchmark::State& state, fs::path path) {
    for (auto _ : state) {
        const IdDatabase ids = IdDatabase::Load(path);
        benchmark::DoNotOptimize(ids.VendorName(0x8086));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

// With `named` false, only the sysfs part: listing the functions.
void BM_OpenPciChooser(benchmark::State& state, fs::path path, bool named) {
    const testing::FakeSysfs sysfs;
    int function = 0;
    for (const auto& [vendor, device] : SpreadIds(ReadAll(path), 100)) {
        char address[32];
        std::snprintf(address, sizeof address, "0000:%02x:%02x.0", function / 32, function % 32);
        sysfs.Add(testing::FakePciFunction{.address = address,
                                           .vendor = "0x" + vendor,
                                           .device = "0x" + device,
                                           .subsystemVendor = "0x" + vendor,
                                           .subsystemDevice = "0x0001",
                                           .classCode = "0x020000"});
        ++function;
    }
    if (!named) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(ListPciDevices(sysfs.root()).data());
        }
        return;
    }
    for (auto _ : state) {
        const IdDatabase ids = IdDatabase::Load(path);
        const DeviceTable table = PciDeviceTable(ListPciDevices(sysfs.root()), ids);
        benchmark::DoNotOptimize(table.rows.data());
        if (table.rows.size() != 100 || table.rows[50].cells[4].empty()) {
            state.SkipWithError("the devices were not all listed and named");
            break;
        }
    }
}

void BM_OpenUsbChooser(benchmark::State& state, fs::path path) {
    const testing::FakeSysfs sysfs;
    int port = 1;
    for (const auto& [vendor, product] : SpreadIds(ReadAll(path), 100)) {
        sysfs.Add(testing::FakeUsbDevice{
            .busPath = "1-" + std::to_string(port++), .idVendor = vendor, .idProduct = product});
    }
    for (auto _ : state) {
        const IdDatabase ids = IdDatabase::Load(path);
        const DeviceTable table = UsbDeviceTable(ListUsbDevices(sysfs.root()), ids);
        benchmark::DoNotOptimize(table.rows.data());
        if (table.rows.size() != 100 || table.rows[50].cells[3].empty()) {
            state.SkipWithError("the devices were not all listed and named");
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const DiscoveryFolders folders = DiscoveryFolders::FromEnvironment();
    const auto find = [&folders](const char* name) -> fs::path {
        for (const fs::path& folder : folders.idFolders) {
            if (fs::is_regular_file(folder / name)) {
                return folder / name;
            }
        }
        std::fprintf(stderr, "%s not found (install hwdata): its benchmarks are skipped\n", name);
        return {};
    };
    if (const fs::path pci = find("pci.ids"); !pci.empty()) {
        benchmark::RegisterBenchmark("LoadPciIds", BM_LoadIds, pci)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ListPciDevices/100", BM_OpenPciChooser, pci, false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenPciChooser/100", BM_OpenPciChooser, pci, true)
            ->Unit(benchmark::kMillisecond);
    }
    if (const fs::path usb = find("usb.ids"); !usb.empty()) {
        benchmark::RegisterBenchmark("LoadUsbIds", BM_LoadIds, usb)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenUsbChooser/100", BM_OpenUsbChooser, usb)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
