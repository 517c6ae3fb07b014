// The Win32 platform layer against the real registry, file system, shell and network of the
// Windows it runs on (Wine in the cross build).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "discovery/HardwareIds.h"
#include "system/win32/MessageBoxPrompter.h"
#include "system/win32/Win32DeviceSource.h"
#include "system/win32/Win32Platform.h"
#include "system/win32/Win32Registry.h"
#include "system/win32/Win32SharedLibrary.h"
#include "system/win32/WinInetFtpClient.h"
#include "system/win32/WindowsApi.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/TempDir.h"
// After windows.h, which WindowsApi.h includes lean, without the old winsock.h.
#include <winsock2.h>

namespace tessaly {
namespace {

using testing::TempDir;

// Bytes a text-mode or code-page conversion would alter.
constexpr char kBinaryBytes[] = "line\r\nNUL\0high\xff\xfe\r\n";
const std::string kBinary(kBinaryBytes, sizeof kBinaryBytes - 1);

void SetReadOnly(const std::string& path, bool readOnly) {
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(),
                                     readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
}

// ---- Registry ---------------------------------------------------------------------------------

// Keys of this run below HKLM\SOFTWARE, made in the 32-bit view the program reads, and one key in
// the 64-bit view only; all removed at the end.
class Win32RegistryTest : public ::testing::Test {
protected:
    static inline const std::string kRoot = "SOFTWARE\\TessalyTest-" +
                                            std::to_string(::GetCurrentProcessId()) + "-" +
                                            std::to_string(::GetTickCount64());

    static HKEY Create(const std::string& path, REGSAM view) {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS)
            << path;
        return key;
    }

    static void Set(HKEY key, const char* name, DWORD type, const std::string& data) {
        EXPECT_EQ(::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << name;
    }

    static void SetUpTestSuite() {
        HKEY values = Create(kRoot + "\\Values", KEY_WOW64_32KEY);
        // Strings as RegSetValueEx stores them: the terminator counts, except where left off.
        Set(values, "seven", REG_SZ, std::string("1234567", 8));
        Set(values, "eight", REG_SZ, std::string("12345678", 9));
        Set(values, "unterminated", REG_SZ, "abc");
        Set(values, "number", REG_DWORD, std::string("\x07\0\0\0", 4));
        ::RegCloseKey(values);
        ::RegCloseKey(Create(kRoot + "\\Seven\\Seven77", KEY_WOW64_32KEY));
        ::RegCloseKey(Create(kRoot + "\\Eight\\Eight888", KEY_WOW64_32KEY));
        ::RegCloseKey(Create(kRoot + "\\Only64", KEY_WOW64_64KEY));
    }

    static void TearDownTestSuite() {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            HKEY software = nullptr;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | view,
                                &software) == ERROR_SUCCESS) {
                ::RegDeleteTreeA(software, kRoot.substr(kRoot.find('\\') + 1).c_str());
                ::RegCloseKey(software);
            }
        }
    }

    Win32Registry registry_;
};

// Values and subkey names are read when they fit the buffer with their terminator, as the
// callers' 8- and 256-byte buffers need.
TEST_F(Win32RegistryTest, ValuesAndNamesAreReadWhenTheyFitTheBuffer) {
    const std::tuple<const char*, std::size_t, std::optional<std::string>> values[] = {
        {"seven", 8, "1234567"},      {"eight", 8, std::nullopt},    {"eight", 256, "12345678"},
        {"unterminated", 256, "abc"}, {"number", 256, std::nullopt}, {"missing", 256, std::nullopt},
    };
    const auto key = registry_.OpenLocalMachineKey(kRoot + "\\Values");
    ASSERT_TRUE(key);
    for (const auto& [name, bytes, expected] : values) {
        EXPECT_EQ(key->QueryString(name, bytes), expected) << name << " in " << bytes;
    }
    const std::tuple<const char*, std::size_t, std::optional<std::string>> names[] = {
        {"Seven", 0, "Seven77"}, {"Seven", 1, std::nullopt}, {"Eight", 0, std::nullopt}};
    for (const auto& [parent, index, expected] : names) {
        EXPECT_EQ(registry_.OpenLocalMachineKey(kRoot + "\\" + parent)->EnumSubKey(index, 8),
                  expected)
            << parent << " #" << index;
    }
}

// Callers open "SOFTWARE\\Quorvane\\Vantorix\\"; a key only in the 64-bit view is not seen.
TEST_F(Win32RegistryTest, KeysOpenWithATrailingBackslashInThe32BitView) {
    const auto root = registry_.OpenLocalMachineKey(kRoot + "\\");
    ASSERT_TRUE(root);
    ASSERT_TRUE(root->OpenSubKey("Values\\"));
    EXPECT_EQ(root->OpenSubKey("Values\\")->QueryString("seven", 8), "1234567");
    EXPECT_FALSE(root->OpenSubKey("Missing"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kRoot + "\\Only64").c_str(), 0,
                              KEY_READ | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_FALSE(registry_.OpenLocalMachineKey(kRoot + "\\Only64"));
}

// ---- Files ------------------------------------------------------------------------------------

class Win32FileSystemTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }

    TempDir dir_;
    Win32FileSystem files_;
};

// Windows' two not-found errors, and one level of folder at a time.
TEST_F(Win32FileSystemTest, AttributesAndFolders) {
    dir_.Write("file", "x");
    const std::tuple<const char*, FileError, bool> attributes[] = {
        {"", FileError::None, true},
        {"file", FileError::None, false},
        {"missing", FileError::FileNotFound, false},
        {"missing\\file", FileError::PathNotFound, false},
    };
    for (const auto& [name, error, isDirectory] : attributes) {
        EXPECT_EQ(files_.QueryAttributes(Path(name)).error, error) << name;
        EXPECT_EQ(files_.QueryAttributes(Path(name)).isDirectory, isDirectory) << name;
    }
    // A folder made meanwhile by someone else is fine; a file of that name is not a folder.
    const std::pair<const char*, bool> folders[] = {
        {"new", true}, {"new", true}, {"missing\\child", false}, {"file", false}};
    for (const auto& [name, made] : folders) {
        EXPECT_EQ(files_.MakeDirectory(Path(name)), made) << name;
    }
    EXPECT_EQ(testing::ReadFileBytes(Path("file")), "x");
}

// Writes and copies replace the target byte for byte through a temporary that never stays. A
// read-only target is refused, as Windows refuses to open one for writing (Wine would move over
// it); a read-only source (an INF from a write-protected medium) gives a copy that can be
// replaced later.
TEST_F(Win32FileSystemTest, WritesAndCopiesReplaceOrLeaveTheTarget) {
    const std::string source = dir_.Write("source", kBinary);
    SetReadOnly(source, true);
    dir_.Write("target", std::string(100, 'o'));
    const std::string readOnly = dir_.Write("read-only", "kept");
    SetReadOnly(readOnly, true);

    EXPECT_TRUE(files_.CanWriteFile(Path("target")));
    EXPECT_FALSE(files_.CanWriteFile(Path("missing\\new")));
    ASSERT_TRUE(files_.WriteFile(Path("target"), "earlier"));
    ASSERT_TRUE(files_.CopyReplacing(source, Path("target")));
    EXPECT_EQ(testing::ReadFileBytes(Path("target")), kBinary);
    EXPECT_TRUE(files_.WriteFile(Path("target"), kBinary + kBinary));
    EXPECT_FALSE(files_.CopyReplacing(Path("missing"), Path("target")));
    EXPECT_EQ(testing::ReadFileBytes(Path("target")), kBinary + kBinary);
    for (const std::string& path : {Path("missing\\target"), readOnly}) {
        EXPECT_FALSE(files_.WriteFile(path, kBinary)) << path;
        EXPECT_FALSE(files_.CopyReplacing(source, path)) << path;
    }
    EXPECT_EQ(testing::ReadFileBytes(readOnly), "kept");
    EXPECT_EQ(testing::FolderNames(dir_.path()),
              (std::vector<std::string>{"read-only", "source", "target"}));
    SetReadOnly(source, false);
    SetReadOnly(readOnly, false);
}

// Temporaries of the file's name that a killed run left are removed; one open for writing (as a
// write holds its own), one changed in the last minute, and those of other names stay.
TEST_F(Win32FileSystemTest, StaleTemporariesOfTheFileAreRemoved) {
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    const std::vector<std::string> kept = {
        "f",           "f.0badf00d.tmp.x", "f.0000fe5e.tmp", "f.00001a5e.tmp", "g.0badf00d.tmp",
        "f.0badf0.tmp"};
    for (const std::string& name : kept) {
        std::filesystem::last_write_time(dir_.Write(name, "x"), old);
    }
    std::filesystem::last_write_time(dir_.path() / "f.0000fe5e.tmp",
                                     std::filesystem::file_time_type::clock::now());
    for (const char* name : {"f.0badf00d.tmp", "f.12345678.tmp"}) {
        std::filesystem::last_write_time(dir_.Write(name, "x"), old);
    }
    HANDLE inUse = ::CreateFileA(Path("f.00001a5e.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files_.RemoveStaleTemporaries(Path("f")), 2);
    ::CloseHandle(inUse);
    std::vector<std::string> sorted = kept;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(testing::FolderNames(dir_.path()), sorted);
}

TEST_F(Win32FileSystemTest, ReadFileGivesTheWholeRegularFileUpToTheLimit) {
    dir_.Write("file", kBinary);
    std::filesystem::create_directory(dir_.path() / "folder");
    const std::tuple<const char*, std::size_t, ReadError> cases[] = {
        {"file", kBinary.size(), ReadError::None},
        {"file", kBinary.size() - 1, ReadError::TooLarge},
        {"folder", 1000, ReadError::NotRegularFile},
        {"missing", 1000, ReadError::CannotOpen},
    };
    for (const auto& [name, maxBytes, error] : cases) {
        const FileContents contents = files_.ReadFile(Path(name), maxBytes);
        EXPECT_EQ(contents.error, error) << name << " up to " << maxBytes;
        EXPECT_EQ(contents.bytes, error == ReadError::None ? kBinary : "") << name;
    }
    EXPECT_TRUE(files_.CanOpenForReading(Path("file")));
    EXPECT_FALSE(files_.CanOpenForReading(Path("missing")));
}

// ---- System, shell, Plug and Play, messages, libraries ----------------------------------------

// An NT Windows with an inf folder to install into, newdev's driver update, and a shell that
// says when a program did not start.
TEST(Win32SystemTest, TheSystemIsAnNtWindowsThatInstallsDrivers) {
    Win32SystemInfo system;
    const auto version = system.GetOsVersion();
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->ntFamily && version->major >= 5);
    const auto windows = system.GetWindowsDirectory();
    ASSERT_TRUE(windows);
    EXPECT_TRUE(Win32FileSystem().QueryAttributes(*windows + "\\inf").isDirectory) << *windows;
    EXPECT_TRUE(Win32PlugAndPlay().IsAvailable());
    TempDir dir;
    EXPECT_LT(Win32Shell().Execute((dir.path() / "missing.exe").string(), "/x"), 32);
}

// ---- Attached devices -------------------------------------------------------------------------

// Runs PnpProbe; its exit status, or -1 when it does not start.
int RunPnpProbe(const std::string& command, const std::string& hardwareId) {
    std::string line = "\"" TESSALY_PNP_PROBE "\" " + command + " \"" + hardwareId + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return -1;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

// Root-enumerated test devices, removed again at the end (and first, after a run that died).
struct TestDevices {
    std::vector<std::string> ids;

    explicit TestDevices(std::vector<std::string> hardwareIds) : ids(std::move(hardwareIds)) {
        for (const std::string& id : ids) {
            RunPnpProbe("remove", id);
            EXPECT_EQ(RunPnpProbe("create", id), 0) << id;
        }
    }
    ~TestDevices() {
        for (const std::string& id : ids) {
            EXPECT_EQ(RunPnpProbe("remove", id), 0) << id;
        }
    }
};

// What is listed is chosen by hardware ID, whatever enumerated the device.
TEST(Win32DeviceSourceTest, RootEnumeratedDevicesAreListedByTheirHardwareIds) {
    const TestDevices devices(
        {"PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678&REV_01", "USB\\VID_1234&PID_ABCD"});
    Win32DeviceSource source;
    const std::vector<PciDevice> pci = source.PciDevices();
    const std::vector<UsbDevice> usb = source.UsbDevices();
    ASSERT_EQ(std::count_if(pci.begin(), pci.end(), [](auto& d) { return d.vendorId == 0xABCD; }),
              1);
    ASSERT_EQ(std::count_if(usb.begin(), usb.end(), [](auto& d) { return d.vendorId == 0x1234; }),
              1);
    const PciDevice& card =
        *std::find_if(pci.begin(), pci.end(), [](auto& d) { return d.vendorId == 0xABCD; });
    const UsbDevice& meter =
        *std::find_if(usb.begin(), usb.end(), [](auto& d) { return d.vendorId == 0x1234; });
    EXPECT_EQ(std::tuple(card.deviceId, card.subsystemVendorId, card.subsystemDeviceId),
              std::tuple(0x1234, 0x5678, 0x9ABC));
    EXPECT_EQ(std::tuple(meter.productId, meter.interfaceCount), std::tuple(0xABCD, 1));
    EXPECT_TRUE(card.address.starts_with("ROOT\\") && meter.busPath.starts_with("ROOT\\"));
}

// The ID databases come only from TESSALY_HWDATA_DIR, read when the source is made.
TEST(Win32DeviceSourceTest, IdDatabasesComeFromTheNamedFolderOnly) {
    TempDir dir;
    std::ofstream(dir.path() / "pci.ids") << "abcd  Tessaly Test\n";
    ASSERT_EQ(::_putenv_s("TESSALY_HWDATA_DIR", ""), 0);
    Win32DeviceSource without;
    ASSERT_EQ(::_putenv_s("TESSALY_HWDATA_DIR", dir.path().string().c_str()), 0);
    Win32DeviceSource with;
    ASSERT_EQ(::_putenv_s("TESSALY_HWDATA_DIR", ""), 0);

    EXPECT_EQ(without.LoadIds("pci.ids").VendorCount(), 0u);
    EXPECT_EQ(with.LoadIds("pci.ids").VendorName(0xABCD), "Tessaly Test");
    EXPECT_EQ(with.LoadIds("usb.ids").VendorCount(), 0u);
}

// The tests run without a display, where Wine shows no box and returns -1: the text goes to the
// stream.
TEST(MessageBoxPrompterTest, WithoutADisplayMessagesGoToTheStreamAndQuestionsAnswerNo) {
    ASSERT_EQ(::MessageBoxA(nullptr, "probe", "probe", MB_OK | MB_TASKMODAL), -1);
    std::ostringstream out;
    MessageBoxPrompter prompter(out);
    prompter.ShowMessage("Saved.", MessageIcon::Exclamation);
    EXPECT_FALSE(prompter.AskYesNo("Create it?"));
    EXPECT_EQ(out.str(), "Tessaly Wizard: Saved.\nTessaly Wizard: Create it?\n");
}

TEST(Win32SharedLibraryTest, SymbolsAreFoundInLoadedLibraries) {
    Win32SharedLibraryLoader loader;
    std::string error;
    EXPECT_TRUE(loader.FindSymbol("kernel32.dll", "GetSystemWindowsDirectoryA", error)) << error;

    const std::string missing = "C:\\no-such-folder\\toolkit.dll";
    EXPECT_FALSE(loader.FindSymbol(missing, "Anything", error));
    EXPECT_EQ(error.rfind(missing + ": ", 0), 0u) << error;

    error.clear();
    EXPECT_FALSE(loader.FindSymbol("kernel32.dll", "NoSuchFunction", error));
    EXPECT_EQ(error.rfind("kernel32.dll: ", 0), 0u) << error;

    // The module needs a library that only its own folder holds.
    using Entry = int (*)();
    void* entry = loader.FindSymbol(TESSALY_LOADER_MODULE, "TessalyLoaderEntry", error);
    ASSERT_TRUE(entry) << error;
    EXPECT_EQ(reinterpret_cast<Entry>(entry)(), 43);

    const std::string folder = loader.ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(std::filesystem::exists(folder + "win32_platform_tests.exe")) << folder;
}

// ---- FTP --------------------------------------------------------------------------------------

// The FTP server the test run starts on the build machine (tests/win32/ftp-server.sh): its folder
// comes in TESSALY_FTP_DIR, holding the port and the served root, where engineer and anonymous log
// in to "incoming".
class WinInetFtpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("TESSALY_FTP_DIR");
        ASSERT_TRUE(dir) << "run through ctest, which starts the FTP server";
        dir_ = dir;
        std::replace(dir_.begin(), dir_.end(), '/', '\\');
        port_ =
            static_cast<std::uint16_t>(std::atoi(testing::ReadFileBytes(dir_ + "\\port").c_str()));
        ASSERT_NE(port_, 0) << "no port in " << dir_;
    }

    std::string Incoming(const std::string& name) const {
        return dir_ + "\\root\\incoming\\" + name;
    }

    std::string dir_;
    std::uint16_t port_ = 0;
    WinInetFtpClient client_;
};

TEST_F(WinInetFtpClientTest, AnUploadReplacesTheRemoteFileByteForByte) {
    TempDir local;
    const std::string file = local.Write("local.inf", kBinary);
    // An empty user name logs in anonymously.
    for (const char* user : {"engineer", ""}) {
        std::ofstream(Incoming("remote.inf"), std::ios::binary) << std::string(100, 'o');
        FtpConnectResult result = client_.Connect("127.0.0.1", port_, user, "s3cret");
        ASSERT_TRUE(result.connection) << user << ": " << static_cast<unsigned>(result.error);
        EXPECT_EQ(result.error, FtpError::None);
        EXPECT_TRUE(result.connection->PutFile(file, "remote.inf")) << user;
        EXPECT_FALSE(result.connection->PutFile(local.path().string() + "\\missing", "x.inf"));
        result.connection.reset();
        EXPECT_EQ(testing::ReadFileBytes(Incoming("remote.inf")), kBinary) << user;
    }
}

// A server that stores less than it was sent, though it answers that the upload is complete,
// has not got the file.
TEST_F(WinInetFtpClientTest, AnUploadTheServerCutShortFails) {
    TempDir local;
    const std::string file = local.Write("local.inf", kBinary);
    FtpConnectResult result = client_.Connect("127.0.0.1", port_, "cutter", "s3cret");
    ASSERT_TRUE(result.connection) << static_cast<unsigned>(result.error);
    EXPECT_FALSE(result.connection->PutFile(file, "cut.inf"));
    result.connection.reset();
    EXPECT_EQ(testing::ReadFileBytes(Incoming("cut.inf")), kBinary.substr(0, kBinary.size() / 2));
}

TEST_F(WinInetFtpClientTest, ConnectionErrorsCarryWinInetNumbers) {
    // Bound but not listening: connections to it are refused.
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    const SOCKET closed = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(::bind(closed, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::getsockname(closed, reinterpret_cast<sockaddr*>(&address), &size), 0);

    struct Case {
        std::uint16_t port;
        const char* password;
        FtpError error;
    };
    const Case cases[] = {
        {port_, "wrong", FtpError::LoginFailure},
        {::ntohs(address.sin_port), "s3cret", FtpError::CannotConnect},
    };
    for (const Case& c : cases) {
        const FtpConnectResult result =
            client_.Connect("127.0.0.1", c.port, "engineer", c.password);
        EXPECT_FALSE(result.connection) << c.port;
        EXPECT_EQ(static_cast<unsigned>(result.error), static_cast<unsigned>(c.error)) << c.port;
    }
    ::closesocket(closed);
    ::WSACleanup();
}

}  // namespace
}  // namespace tessaly
