#include "system/win32/Win32DriverStore.h"

#include "system/win32/WindowsApi.h"
// After windows.h, whose types these use.
#include <setupapi.h>
#include <wincrypt.h>

namespace tessaly {
namespace {

bool AddToMachineStore(const char* name, std::string_view certificate) {
    HCERTSTORE store =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, name);
    if (!store) {
        return false;
    }
    const BOOL added = ::CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(certificate.data()),
        static_cast<DWORD>(certificate.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
    return added != FALSE;
}

}  // namespace

bool Win32DriverStore::TrustPublisher(std::string_view certificate) {
    // Root lets the chain end in the certificate; TrustedPublisher lets Windows install the
    // package without asking.
    return AddToMachineStore("Root", certificate) &&
           AddToMachineStore("TrustedPublisher", certificate);
}

bool Win32DriverStore::InstallPackage(const std::string& inf, const std::string&,
                                      const std::vector<std::string>& hardwareIds) {
    // Setup copies the INF with the catalog it names into the driver store (as oemNN.inf).
    char staged[MAX_PATH] = {};
    if (!::SetupCopyOEMInfA(inf.c_str(), nullptr, SPOST_PATH, 0, staged, sizeof staged, nullptr,
                            nullptr)) {
        return false;
    }
    const HMODULE newdev = ::LoadLibraryA("newdev.dll");
    using Update = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);
    const auto update = newdev ? reinterpret_cast<Update>(reinterpret_cast<void*>(::GetProcAddress(
                                     newdev, "UpdateDriverForPlugAndPlayDevicesA")))
                               : nullptr;
    // A device that is not present gets the staged package when it appears.
    for (const std::string& id : hardwareIds) {
        BOOL reboot = FALSE;
        if (update) {
            update(nullptr, id.c_str(), staged, 0, &reboot);
        }
    }
    if (newdev) {
        ::FreeLibrary(newdev);
    }
    return true;
}

bool Win32DriverStore::Is64BitWindows() {
    SYSTEM_INFO info{};
    ::GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

}  // namespace tessaly
