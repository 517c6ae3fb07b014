#include "system/win32/Win32Registry.h"

#include <vector>

#include "system/win32/WindowsApi.h"

namespace tessaly {
namespace {

// The products whose keys the program reads are 32-bit programs: on 64-bit Windows their keys
// are in the 32-bit view, where a 32-bit build of this program would find them.
constexpr REGSAM kAccess = KEY_READ | KEY_WOW64_32KEY;

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { ::RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path) override {
        return Open(key_, path);
    }

    std::optional<std::string> QueryString(const std::string& name,
                                           std::size_t bufferBytes) override {
        std::vector<char> buffer(bufferBytes + 1, '\0');
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(bufferBytes);
        // A value longer than the buffer fails with ERROR_MORE_DATA, as the callers expect.
        if (::RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        // The stored text may or may not carry its terminator.
        std::string text(buffer.data(), size);
        return text.substr(0, text.find('\0'));
    }

    std::optional<std::string> EnumSubKey(std::size_t index, std::size_t bufferChars) override {
        std::vector<char> buffer(bufferChars + 1, '\0');
        DWORD length = static_cast<DWORD>(bufferChars);
        if (::RegEnumKeyExA(key_, static_cast<DWORD>(index), buffer.data(), &length, nullptr,
                            nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::string(buffer.data(), length);
    }

    static std::unique_ptr<RegistryKey> Open(HKEY parent, const std::string& path) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(parent, path.c_str(), 0, kAccess, &key) != ERROR_SUCCESS) {
            return nullptr;
        }
        return std::make_unique<Win32RegistryKey>(key);
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenLocalMachineKey(const std::string& path) {
    return Win32RegistryKey::Open(HKEY_LOCAL_MACHINE, path);
}

}  // namespace tessaly
