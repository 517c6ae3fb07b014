#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "app/ModuleWizardUi.h"
#include "app/WizardApp.h"
#include "platform/RegFile.h"
#include "platform/curl/CurlFtpClient.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixSharedLibrary.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const auto start = std::chrono::steady_clock::now();

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ConfiguredRegistry registry = LoadRegistryFromEnvironment(std::cerr);
    PosixFileSystem files;
    PosixSystemInfo system = PosixSystemInfo::FromEnvironment();
    PosixShell shell;
    PosixPlugAndPlay plugAndPlay;
    CurlFtpClient ftp;
    const Platform platform{*registry.registry, files, system, shell, plugAndPlay, ftp};

    // The window module sits beside the executable in the build tree and in the library folder
    // of an installation.
    PosixSharedLibraryLoader loader;
    const std::string folder = loader.ExecutableFolder();
    std::vector<std::string> candidates;
    for (const char* relative : {"", TESSALY_GUI_MODULE_INSTALL_DIR "/"}) {
        candidates.push_back(folder + relative + TESSALY_GUI_MODULE_NAME);
    }

    ModuleWizardUi ui(loader, candidates, {&argc, argv, &platform, registry.configured, start},
                      ModuleWizardUi::DisplayAvailableFromEnvironment(), std::cerr);
    const int status = RunWizardApp(arguments, platform, ui);
    return ui.couldNotShow() ? 1 : status;
}
