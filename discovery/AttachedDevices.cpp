#include "discovery/AttachedDevices.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A sysfs attribute is at most one page.
constexpr std::size_t kMaxAttribute = 4096;

// The text of an attribute file without surrounding white space; nullopt when it is not a
// regular file that can be read (a FIFO in a copied tree would block).
std::optional<std::string> ReadAttribute(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(kMaxAttribute, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    constexpr std::string_view kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The whole attribute as one number: hexadecimal with or without "0x" ("0x8086", "8086"), or
// decimal; nullopt when anything else is there or the value exceeds `max`.
std::optional<std::uint32_t> ReadNumber(const fs::path& file, std::uint32_t max, bool hex) {
    const std::optional<std::string> text = ReadAttribute(file);
    if (!text) {
        return std::nullopt;
    }
    std::string_view digits = *text;
    if (hex && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
    }
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint16_t> ReadId(const fs::path& file) {
    const std::optional<std::uint32_t> value = ReadNumber(file, 0xFFFF, true);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

// Calls visit(name, folder) for every entry of the folder; nothing when it cannot be read.
template <typename Visit>
void ForEachEntry(const fs::path& folder, Visit visit) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        visit(it->path().filename().string(), it->path());
    }
}

}  // namespace

DiscoveryFolders DiscoveryFolders::FromEnvironment(
    const std::function<const char*(const char*)>& lookup) {
    const auto get = [&lookup](const char* name) -> const char* {
        return lookup ? lookup(name) : std::getenv(name);
    };
    DiscoveryFolders folders;
    if (const char* root = get("TESSALY_SYSFS_ROOT"); root && *root) {
        folders.sysfsRoot = root;
    }
    if (const char* ids = get("TESSALY_HWDATA_DIR"); ids && *ids) {
        folders.idFolders = {ids};
    }
    return folders;
}

IdDatabase DiscoveryFolders::LoadIds(const std::string& fileName) const {
    for (const fs::path& folder : idFolders) {
        std::error_code error;
        if (fs::exists(folder / fileName, error)) {
            return IdDatabase::Load(folder / fileName);
        }
    }
    return {};
}

std::vector<PciDevice> ListPciDevices(const fs::path& sysfsRoot) {
    std::vector<PciDevice> devices;
    ForEachEntry(sysfsRoot / "bus" / "pci" / "devices", [&](std::string name, const fs::path& at) {
        const std::optional<std::uint16_t> vendor = ReadId(at / "vendor");
        const std::optional<std::uint16_t> device = ReadId(at / "device");
        if (!vendor || !device) {
            return;
        }
        const std::optional<std::uint16_t> subVendor = ReadId(at / "subsystem_vendor");
        const std::optional<std::uint16_t> subDevice = ReadId(at / "subsystem_device");
        devices.push_back({
            .address = std::move(name),
            .vendorId = *vendor,
            .deviceId = *device,
            .subsystemVendorId = subVendor && subDevice ? *subVendor : std::uint16_t{0},
            .subsystemDeviceId = subVendor && subDevice ? *subDevice : std::uint16_t{0},
            .classCode = ReadNumber(at / "class", 0xFFFFFF, true),
        });
    });
    std::sort(devices.begin(), devices.end(), [](const PciDevice& a, const PciDevice& b) {
        return NaturalLess(a.address, b.address);
    });
    return devices;
}

std::vector<UsbDevice> ListUsbDevices(const fs::path& sysfsRoot) {
    std::vector<UsbDevice> devices;
    ForEachEntry(sysfsRoot / "bus" / "usb" / "devices", [&](std::string name, const fs::path& at) {
        if (name.find(':') != std::string::npos) {  // an interface, "1-1:1.0"
            return;
        }
        const std::optional<std::uint16_t> vendor = ReadId(at / "idVendor");
        const std::optional<std::uint16_t> product = ReadId(at / "idProduct");
        if (!vendor || !product) {
            return;
        }
        const std::optional<std::uint32_t> interfaces =
            ReadNumber(at / "bNumInterfaces", 255, false);
        const std::optional<std::uint32_t> deviceClass = ReadNumber(at / "bDeviceClass", 255, true);
        devices.push_back({
            .busPath = std::move(name),
            .vendorId = *vendor,
            .productId = *product,
            .interfaceCount = static_cast<int>(interfaces.value_or(0)),
            .deviceClass = deviceClass ? std::optional<std::uint8_t>(*deviceClass) : std::nullopt,
            .manufacturer = ReadAttribute(at / "manufacturer").value_or(""),
            .product = ReadAttribute(at / "product").value_or(""),
        });
    });
    std::sort(devices.begin(), devices.end(), [](const UsbDevice& a, const UsbDevice& b) {
        return NaturalLess(a.busPath, b.busPath);
    });
    return devices;
}

bool IsHiddenByDefault(const PciDevice& device) {
    return device.classCode && (*device.classCode >> 8) == 0x0600;
}

bool IsHiddenByDefault(const UsbDevice& device) {
    return device.deviceClass == 0x09 && device.busPath.starts_with("usb");
}

bool NaturalLess(std::string_view a, std::string_view b) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t startA = i;
            const std::size_t startB = j;
            while (i < a.size() && isDigit(a[i])) {
                ++i;
            }
            while (j < b.size() && isDigit(b[j])) {
                ++j;
            }
            std::string_view runA = a.substr(startA, i - startA);
            std::string_view runB = b.substr(startB, j - startB);
            runA.remove_prefix(std::min(runA.find_first_not_of('0'), runA.size()));
            runB.remove_prefix(std::min(runB.find_first_not_of('0'), runB.size()));
            if (runA.size() != runB.size()) {
                return runA.size() < runB.size();
            }
            if (runA != runB) {
                return runA < runB;
            }
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b;  // "01" and "1": any fixed order
}

}  // namespace tessaly
