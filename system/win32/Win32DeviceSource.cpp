#include "system/win32/Win32DeviceSource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "discovery/HardwareIds.h"
#include "system/win32/WindowsApi.h"
// The SetupAPI headers build on the types windows.h declares.
#include <cfgmgr32.h>
#include <devpropdef.h>
#include <setupapi.h>

namespace tessaly {
namespace {

// DEVPKEY_Device_BusReportedDeviceDesc, spelled out: devpkey.h defines its keys only where
// INITGUID is set.
constexpr DEVPROPKEY kBusReportedDeviceDesc{
    {0x540b947e, 0x8b40, 0x45bc, {0xa8, 0xa2, 0x6a, 0x0b, 0x89, 0x4c, 0xbd, 0xa2}}, 4};

// A REG_MULTI_SZ registry property as its strings; none when the device has no such property.
std::vector<std::string> MultiString(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    std::vector<char> buffer(256);
    DWORD size = 0;
    while (!SetupDiGetDeviceRegistryPropertyA(set, &device, property, nullptr,
                                              reinterpret_cast<BYTE*>(buffer.data()),
                                              static_cast<DWORD>(buffer.size()), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) {
            return {};
        }
        buffer.resize(size);
    }
    // Two terminators end the list, even when the stored value lacks them.
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    buffer.push_back('\0');
    buffer.push_back('\0');
    std::vector<std::string> strings;
    for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) {
        strings.emplace_back(p);
    }
    return strings;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), converted.data(),
                        size, nullptr, nullptr);
    return converted;
}

// What the bus reports the device as; empty when it reports nothing.
std::string BusDescription(HDEVINFO set, SP_DEVINFO_DATA& device) {
    std::vector<WCHAR> buffer(128);
    DEVPROPTYPE type = 0;
    DWORD size = 0;
    while (!SetupDiGetDevicePropertyW(
        set, &device, &kBusReportedDeviceDesc, &type, reinterpret_cast<BYTE*>(buffer.data()),
        static_cast<DWORD>(buffer.size() * sizeof(WCHAR)), &size, 0)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size() * sizeof(WCHAR)) {
            return {};
        }
        buffer.resize(size / sizeof(WCHAR) + 1);
    }
    if (type != DEVPROP_TYPE_STRING) {
        return {};
    }
    const std::size_t chars = std::min<std::size_t>(size / sizeof(WCHAR), buffer.size());
    std::wstring text(buffer.data(), chars);
    text.resize(std::wcslen(text.c_str()));
    return Utf8(text);
}

std::vector<PnpDeviceIds> PresentDevices() {
    std::vector<PnpDeviceIds> devices;
    const HDEVINFO set =
        SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) {
        return devices;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        char instance[MAX_DEVICE_ID_LEN] = {};
        if (!SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof(instance), nullptr)) {
            continue;
        }
        PnpDeviceIds ids{.instanceId = instance,
                         .hardwareIds = MultiString(set, device, SPDRP_HARDWAREID),
                         .compatibleIds = MultiString(set, device, SPDRP_COMPATIBLEIDS)};
        if (ids.hardwareIds.empty()) {
            continue;
        }
        ids.busDescription = BusDescription(set, device);
        devices.push_back(std::move(ids));
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

}  // namespace

Win32DeviceSource::Win32DeviceSource() {
    ids_.idFolders.clear();
    if (const char* folder = std::getenv("TESSALY_HWDATA_DIR"); folder && *folder) {
        ids_.idFolders = {folder};
    }
}

std::vector<PciDevice> Win32DeviceSource::PciDevices() {
    return PciDevicesFromIds(PresentDevices());
}

std::vector<UsbDevice> Win32DeviceSource::UsbDevices() {
    return UsbDevicesFromIds(PresentDevices());
}

}  // namespace tessaly
