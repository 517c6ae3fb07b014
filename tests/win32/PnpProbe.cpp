// Test helper for the INF install under Wine: creates, inspects and removes root-enumerated
// devices by hardware ID. The install call reports success even when no device matched, so a
// test checks the device itself: its description becomes the INF's model name once the driver
// is installed.
//
// Wine 8 notes that shape the checks:
// - UpdateDriverForPlugAndPlayDevices matches hardware IDs case-sensitively, so a device must
//   carry the ID exactly as the INF writes it; this tool matches without case, as Windows does.
// - It never creates a device; an ID with no device is a silent no-op returning TRUE.
// - Installing also tries to start the INF's kernel service, which fails and is only logged.

#include <windows.h>
// The SetupAPI headers build on the types windows.h declares.
#include <cfgmgr32.h>
#include <fcntl.h>
#include <io.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// New devices start in no class, like a freshly detected card without a driver, so the class a
// device reports afterwards is the one the INF install gave it.
constexpr GUID kNoClass{};

enum Exit : int { kOk = 0, kFailed = 1, kNoDevice = 2, kSeveral = 3, kUsage = 64 };

void fail(const char* what) {
    std::fprintf(stderr, "PnpProbe: %s failed (error %lu)\n", what, GetLastError());
}

class DeviceSet {
public:
    explicit DeviceSet(HDEVINFO h) : h_(h) {}
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;
    ~DeviceSet() {
        if (valid())
            SetupDiDestroyDeviceInfoList(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HDEVINFO get() const { return h_; }

private:
    HDEVINFO h_;
};

bool property(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD prop, std::vector<char>& out) {
    DWORD size = 0;
    out.assign(2, '\0');
    if (SetupDiGetDeviceRegistryPropertyA(set, &dev, prop, nullptr,
                                          reinterpret_cast<BYTE*>(out.data()),
                                          static_cast<DWORD>(out.size()), &size))
        return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    out.assign(size + 2, '\0');
    return SetupDiGetDeviceRegistryPropertyA(set, &dev, prop, nullptr,
                                             reinterpret_cast<BYTE*>(out.data()), size, nullptr);
}

std::string text(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD prop) {
    std::vector<char> buf;
    return property(set, dev, prop, buf) ? std::string(buf.data()) : std::string();
}

bool hasHardwareId(HDEVINFO set, SP_DEVINFO_DATA& dev, const char* id) {
    std::vector<char> buf;
    if (!property(set, dev, SPDRP_HARDWAREID, buf))
        return false;
    for (const char* p = buf.data(); *p; p += std::strlen(p) + 1) {
        if (lstrcmpiA(p, id) == 0)
            return true;
    }
    return false;
}

std::vector<SP_DEVINFO_DATA> matching(HDEVINFO set, const char* id) {
    std::vector<SP_DEVINFO_DATA> found;
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof(dev);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        if (hasHardwareId(set, dev, id))
            found.push_back(dev);
    }
    return found;
}

HDEVINFO allDevices(DWORD extraFlags) {
    return SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | extraFlags);
}

int createDevice(const char* id) {
    {
        // A second device with the same ID would hide which one the install reached.
        DeviceSet existing(allDevices(0));
        if (existing.valid() && !matching(existing.get(), id).empty()) {
            std::fprintf(stderr, "PnpProbe: a device with %s already exists\n", id);
            return kSeveral;
        }
    }
    DeviceSet set(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    if (!set.valid()) {
        fail("SetupDiCreateDeviceInfoList");
        return kFailed;
    }
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof(dev);
    if (!SetupDiCreateDeviceInfoA(set.get(), "PnpProbe", &kNoClass, nullptr, nullptr,
                                  DICD_GENERATE_ID, &dev)) {
        fail("SetupDiCreateDeviceInfo");
        return kFailed;
    }
    std::string ids(id);
    ids.append(2, '\0');
    if (!SetupDiSetDeviceRegistryPropertyA(set.get(), &dev, SPDRP_HARDWAREID,
                                           reinterpret_cast<const BYTE*>(ids.data()),
                                           static_cast<DWORD>(ids.size()))) {
        fail("SetupDiSetDeviceRegistryProperty");
        return kFailed;
    }
    if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set.get(), &dev)) {
        fail("DIF_REGISTERDEVICE");
        return kFailed;
    }
    char instance[MAX_DEVICE_ID_LEN] = {};
    SetupDiGetDeviceInstanceIdA(set.get(), &dev, instance, sizeof(instance), nullptr);
    std::fprintf(stderr, "PnpProbe: created %s\n", instance);
    return kOk;
}

int describeDevices(const char* id) {
    DeviceSet set(allDevices(DIGCF_PRESENT));
    if (!set.valid()) {
        fail("SetupDiGetClassDevs");
        return kFailed;
    }
    auto found = matching(set.get(), id);
    for (auto& dev : found) {
        char instance[MAX_DEVICE_ID_LEN] = {};
        SetupDiGetDeviceInstanceIdA(set.get(), &dev, instance, sizeof(instance), nullptr);
        std::printf("%s\n", text(set.get(), dev, SPDRP_DEVICEDESC).c_str());
        std::printf("instance=%s\n", instance);
        std::printf("driver=%s\n", text(set.get(), dev, SPDRP_DRIVER).c_str());
        std::printf("class=%s\n", text(set.get(), dev, SPDRP_CLASS).c_str());
        std::printf("classguid=%s\n", text(set.get(), dev, SPDRP_CLASSGUID).c_str());
        std::printf("service=%s\n", text(set.get(), dev, SPDRP_SERVICE).c_str());
    }
    if (found.empty())
        return kNoDevice;
    return found.size() == 1 ? kOk : kSeveral;
}

int removeDevices(const char* id) {
    DeviceSet set(allDevices(0));
    if (!set.valid()) {
        fail("SetupDiGetClassDevs");
        return kFailed;
    }
    auto found = matching(set.get(), id);
    int result = found.empty() ? kNoDevice : kOk;
    for (auto& dev : found) {
        if (!SetupDiCallClassInstaller(DIF_REMOVE, set.get(), &dev)) {
            fail("DIF_REMOVE");
            result = kFailed;
        }
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF output, so the calling shell script compares lines without stripping CR.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: PnpProbe create|describe|remove <hardwareId>\n"
                     "  create    registers a root-enumerated device with that hardware ID\n"
                     "  describe  prints the description, then instance=, driver=, class=,\n"
                     "            classguid= and service= lines for each present device\n"
                     "  remove    removes every device with that hardware ID\n"
                     "exit: 0 done, 1 failed, 2 no such device, 3 more than one device\n");
        return kUsage;
    }
    const std::string command = argv[1];
    if (command == "create")
        return createDevice(argv[2]);
    if (command == "describe")
        return describeDevices(argv[2]);
    if (command == "remove")
        return removeDevices(argv[2]);
    std::fprintf(stderr, "PnpProbe: unknown command %s\n", argv[1]);
    return kUsage;
}
